#include "base/XmlStore.h"

#include "xml/Document.h"
#include "xml/Element.h"
#include "xml/Iterator.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>

namespace base {

XmlStore::XmlStore(const std::string& path, const char* storeName)
    : m_document(new xml::Document(path)), m_path(path), m_storeName(storeName) {
    m_document->loadDocument();
}

XmlStore::~XmlStore() {
    save();
    delete m_document;
}

void XmlStore::save() {
    m_document->saveDocument();
}

xml::Element* XmlStore::findSection(const std::string& section) {
    std::unique_ptr<xml::Iterator> it(xml::Iterator::Find(*m_document, section));
    return it ? it->current() : nullptr;
}

xml::Element* XmlStore::ensureSection(const std::string& section) {
    if (xml::Element* found = findSection(section))
        return found;
    xml::Element* root = m_document->getRoot();
    if (!root) {
        m_document->setRoot("root");
        root = m_document->getRoot();
    }
    root->AddChild(section);
    return findSection(section);
}

std::string XmlStore::readString(const std::string& section, const std::string& key, const std::string& defaultValue) {
    xml::Element* element = ensureSection(section);
    const std::string value = element->GetAttribute(key);
    if (!value.empty())
        return value;
    std::cerr << m_storeName << "::getString - no such key - creating one" << std::endl;
    element->SetAttribute(key, defaultValue);
    save();
    return defaultValue;
}

int XmlStore::readInt(const std::string& section, const std::string& key, int defaultValue) {
    char text[32];
    std::snprintf(text, sizeof text, "%d", defaultValue);
    return std::atoi(readString(section, key, text).c_str());
}

float XmlStore::readFloat(const std::string& section, const std::string& key, float defaultValue) {
    char text[64];
    std::snprintf(text, sizeof text, "%f", defaultValue);
    return static_cast<float>(std::atof(readString(section, key, text).c_str()));
}

bool XmlStore::readBool(const std::string& section, const std::string& key, bool defaultValue, bool reportRepair) {
    xml::Element* element = ensureSection(section);
    const std::string value = element->GetAttribute(key);
    if (value == "true")
        return true;
    if (value == "false")
        return false;
    if (reportRepair)
        std::cerr << m_storeName << "::getBool - no such key - creating one" << std::endl;
    element->SetAttribute(key, defaultValue ? "true" : "false");
    save();
    return defaultValue;
}

void XmlStore::writeString(const std::string& section, const std::string& key, const std::string& value) {
    xml::Element* element = findSection(section);
    if (!element)
        return;
    element->SetAttribute(key, value);
    save();
}

void XmlStore::writeNumber(const std::string& section, const std::string& key, const std::string& value) {
    if (xml::Element* element = findSection(section))
        element->SetAttribute(key, value);
    save();
}

void XmlStore::writeBool(const std::string& section, const std::string& key, bool value, bool createSection) {
    if (createSection)
        ensureSection(section);
    writeString(section, key, value ? "true" : "false");
}

} // namespace base
