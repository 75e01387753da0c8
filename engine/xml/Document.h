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
    // that reads but does not parse is first kept as "<path>.corrupt.<n>";
    // the last kKeptCopies such copies stay. A file that is there but cannot
    // be read (no permission, an I/O error, a folder in its place) gives an
    // empty "root" element and is never written over (see isWriteProtected).
    bool loadDocument();
    // Writes and syncs a temporary file beside the target and renames it over
    // the old one: a failed or interrupted save leaves the old file as it was.
    bool saveDocument();

    // True after loadDocument met a file it could not read: saves are refused,
    // so what this session cannot see is not lost to its defaults.
    bool isWriteProtected() const { return m_writeProtected; }

    // Every parse of a document, the library's own LoadFile included, runs
    // on a copy that ends in zero padding (see Reader).
    const char* Parse(const char* text, TiXmlParsingData* data = nullptr,
                      TiXmlEncoding encoding = TIXML_DEFAULT_ENCODING) override;

    Element* getRoot();
    const Element* getRoot() const;
    void setRoot(const std::string& name);
    Element* FindFirst(const std::string& name);

    const std::string& path() const { return m_path; }

    static const int kKeptCopies = 5;

private:
    // The printed file. The library reads a UTF-8 lead byte together with the
    // bytes meant to follow it, whatever they are, so a value ending in a
    // cut-off character would swallow its closing quote and the file could
    // not be read again: such cut-off characters are written as U+FFFD.
    bool print(std::string& text) const;
    bool readsAsUtf8(const std::string& text) const;
    bool printsReadably() const;
    static bool readsBack(const std::string& text);
    static void replaceCutCharacters(std::string& text);

    std::string m_path;
    bool m_writeProtected = false;
};

} // namespace xml
