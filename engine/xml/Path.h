#pragma once

#include "base/Export.h"

#include <string>
#include <vector>

namespace xml {

// A chain of element names below the root, walked (and built) by Iterator::GoTo.
class DW_API Path {
public:
    Path() = default;
    Path(const Path&) = default;
    Path& operator=(const Path&) = default;
    virtual ~Path() = default;

    Path& Add(const char* name);
    Path& Add(const std::string& name);
    void Reset() { m_index = 0; }
    bool Next();
    // Only valid on a path with keys.
    const std::string& GetKey() const { return m_keys[m_index]; }
    void Clear();
    size_t size() const { return m_keys.size(); }

private:
    std::vector<std::string> m_keys;
    int m_index = 0;
};

} // namespace xml
