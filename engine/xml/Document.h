#pragma once

#include "base/Export.h"

#include <tinyxml.h>

#include <string>

namespace xml {

class Element;

// One XML file, loaded and saved as a whole at the path given at construction.
class DW_API Document : public TiXmlDocument {
public:
    explicit Document(const std::string& path);
    Document(const Document& other);
    Document& operator=(const Document& other);
    virtual ~Document();

    // A missing file becomes a file holding an empty "root" element. A file
    // that exists but cannot be parsed is first kept as "<path>.corrupt".
    bool loadDocument();
    // Writes a temporary file beside the target and renames it over the old
    // one, so a failed save never leaves a half-written file.
    bool saveDocument();

    Element* getRoot();
    const Element* getRoot() const;
    void setRoot(const std::string& name);
    Element* FindFirst(const std::string& name);

    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

} // namespace xml
