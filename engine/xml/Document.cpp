#include "xml/Document.h"

#include "xml/Element.h"

#include <cstdio>
#include <iostream>
#include <sys/stat.h>

namespace xml {

Document::Document(const std::string& path) : TiXmlDocument(path), m_path(path) {}

Document::Document(const Document& other) : TiXmlDocument(other), m_path(other.m_path) {}

Document& Document::operator=(const Document& other) {
    TiXmlDocument::operator=(other);
    m_path = other.m_path;
    return *this;
}

Document::~Document() = default;

namespace {
bool fileExists(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0;
}

bool copyFile(const std::string& from, const std::string& to) {
    FILE* in = std::fopen(from.c_str(), "rb");
    if (!in)
        return false;
    FILE* out = std::fopen(to.c_str(), "wb");
    bool ok = out != nullptr;
    char buffer[8192];
    size_t n;
    while (ok && (n = std::fread(buffer, 1, sizeof buffer, in)) > 0)
        ok = std::fwrite(buffer, 1, n, out) == n;
    std::fclose(in);
    if (out)
        ok = (std::fclose(out) == 0) && ok;
    return ok;
}
} // namespace

bool Document::loadDocument() {
    const bool existed = fileExists(m_path);
    const bool parsed = LoadFile(m_path);
    // The parser is lenient: text without any element still "loads".
    if (parsed && getRoot())
        return true;
    const std::string reason = parsed ? "Document has no root element" : ErrorDesc();

    std::string kept;
    if (existed) {
        const std::string backup = m_path + ".corrupt";
        kept = copyFile(m_path, backup) ? " (unreadable file kept as \"" + backup + "\")"
                                        : " (could not keep a copy of the unreadable file)";
    }
    std::cerr << "Can't load File: \"" << m_path << "\" - creating virtual file -->" << reason
              << kept << std::endl;

    if (getRoot())
        return false;
    // The parse error state would otherwise stick to the fresh document.
    Clear();
    ClearError();
    setRoot("root");
    saveDocument();
    return false;
}

bool Document::saveDocument() {
    const std::string temp = m_path + ".tmp";
    FILE* file = std::fopen(temp.c_str(), "w");
    bool ok = file != nullptr;
    if (ok) {
        ok = SaveFile(file);
        ok = (std::fflush(file) == 0) && ok;
        ok = (std::fclose(file) == 0) && ok;
        ok = ok && std::rename(temp.c_str(), m_path.c_str()) == 0;
        if (!ok)
            std::remove(temp.c_str());
    }
    if (!ok)
        std::cerr << "Can't save File: \"" << m_path << "\"" << std::endl;
    return ok;
}

Element* Document::getRoot() {
    return Element::from(RootElement());
}

const Element* Document::getRoot() const {
    return Element::from(RootElement());
}

void Document::setRoot(const std::string& name) {
    if (getRoot())
        return;
    LinkEndChild(new TiXmlDeclaration("1.0", "", ""));
    LinkEndChild(new TiXmlElement(name));
}

Element* Document::FindFirst(const std::string& name) {
    Element* root = getRoot();
    return root ? Element::from(root->FirstChildElement(name)) : nullptr;
}

} // namespace xml
