#include "xml/Path.h"

namespace xml {

Path& Path::Add(const char* name) {
    m_keys.emplace_back(name ? name : "");
    return *this;
}

Path& Path::Add(const std::string& name) {
    m_keys.push_back(name);
    return *this;
}

bool Path::Next() {
    if (m_keys.empty() || m_index + 1 >= static_cast<int>(m_keys.size()))
        return false;
    ++m_index;
    return true;
}

void Path::Clear() {
    m_keys.clear();
    m_index = 0;
}

} // namespace xml
