#pragma once

#include "base/Export.h"

#include <cstdint>

namespace base {

// A text identifier with its 32-bit hash; compared by hash only. The text is
// not copied: it must outlive the hash (in practice it is a string literal).
class DW_API StringHash {
public:
    static const StringHash kEmpty;

    StringHash(const char* text);
    StringHash(const StringHash& other) = default;
    StringHash& operator=(const StringHash& other) = default;
    virtual ~StringHash() = default;

    uint32_t hash() const { return m_hash; }
    const char* string() const { return m_text; }

    bool operator==(const StringHash& other) const { return m_hash == other.m_hash; }
    bool operator!=(const StringHash& other) const { return m_hash != other.m_hash; }
    bool operator<(const StringHash& other) const { return m_hash < other.m_hash; }

    static uint32_t hasherization(const char* text);

private:
    uint32_t m_hash;
    const char* m_text;
};

} // namespace base
