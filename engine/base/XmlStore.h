#pragma once

#include "base/Export.h"

#include <string>

namespace xml {
class Document;
class Element;
}

namespace base {

// A per-user XML store addressed by section and key. A section is the first
// element of that name below the root; a key is one of its attributes. Getters
// create missing keys with their default and write the file at once.
class DW_API XmlStore {
public:
    virtual ~XmlStore();

    const std::string& path() const { return m_path; }

protected:
    // storeName prefixes the diagnostics ("Config", "UserData").
    XmlStore(const std::string& path, const char* storeName);

    std::string readString(const std::string& section, const std::string& key, const std::string& defaultValue);
    int readInt(const std::string& section, const std::string& key, int defaultValue);
    float readFloat(const std::string& section, const std::string& key, float defaultValue);
    bool readBool(const std::string& section, const std::string& key, bool defaultValue, bool reportRepair);

    void writeString(const std::string& section, const std::string& key, const std::string& value);
    void writeNumber(const std::string& section, const std::string& key, const std::string& value);
    void writeBool(const std::string& section, const std::string& key, bool value, bool createSection);

    xml::Document* m_document;
    std::string m_path;

private:
    xml::Element* findSection(const std::string& section);
    xml::Element* ensureSection(const std::string& section);
    void save();

    const char* m_storeName;
};

} // namespace base
