#include "xml/Iterator.h"

#include "xml/Document.h"
#include "xml/Element.h"
#include "xml/Path.h"

#include <iostream>

namespace xml {

namespace {
Element* search(Element* start, const std::string& name) {
    for (Element* candidate = start; candidate;) {
        if (candidate->ValueStr() == name)
            return candidate;
        if (Element* found = search(Element::from(candidate->FirstChildElement()), name))
            return found;
        candidate = Element::from(candidate->NextSiblingElement());
    }
    return nullptr;
}
} // namespace

Iterator::Iterator(Document* document) : m_document(document) {
    Element* root = document ? document->getRoot() : nullptr;
    if (root)
        m_current = root->FirstChildElement() ? Element::from(root->FirstChildElement()) : root;
}

bool Iterator::GoToFirstElement() {
    Element* root = m_document ? m_document->getRoot() : nullptr;
    if (!root)
        return false;
    m_current = root;
    return true;
}

bool Iterator::HasNextSibling() const {
    return m_current && m_current->NextSiblingElement();
}

bool Iterator::NextSibling() {
    if (!HasNextSibling())
        return false;
    m_current = Element::from(m_current->NextSiblingElement());
    return true;
}

bool Iterator::goToParent() {
    // The document node above the root element is not an element to stand on.
    TiXmlElement* parent = m_current && m_current->Parent() ? m_current->Parent()->ToElement() : nullptr;
    if (!parent)
        return false;
    m_current = Element::from(parent);
    return true;
}

bool Iterator::goToFirstChild() {
    TiXmlElement* child = m_current ? m_current->FirstChildElement() : nullptr;
    if (!child)
        return false;
    m_current = Element::from(child);
    return true;
}

Element* Iterator::GetChild(const std::string& name) const {
    return m_current ? Element::from(m_current->FirstChildElement(name)) : nullptr;
}

bool Iterator::Find(const std::string& name) {
    Element* found = search(m_current, name);
    if (!found)
        return false;
    m_current = found;
    return true;
}

Iterator* Iterator::Find(Document& document, const std::string& name) {
    Iterator* it = new Iterator(&document);
    if (it->Find(name))
        return it;
    delete it;
    return nullptr;
}

const std::string& Iterator::GetName() const {
    static const std::string kNoName;
    return m_current ? m_current->ValueStr() : kNoName;
}

std::string Iterator::GetValue() const {
    const TiXmlNode* child = m_current ? m_current->FirstChild() : nullptr;
    if (!child || !child->ToText()) {
        std::cerr << "Error at Iterator::getValue(): element has no content!" << std::endl;
        return std::string();
    }
    return child->ValueStr();
}

bool Iterator::SetValue(const std::string& text) {
    if (!m_current)
        return false;
    TiXmlNode* child = m_current->FirstChild();
    if (!child)
        m_current->LinkEndChild(new TiXmlText(text));
    else if (child->ToText())
        child->SetValue(text);
    return true;
}

std::string Iterator::GetAttribute(const std::string& name) const {
    return m_current ? m_current->GetAttribute(name) : std::string();
}

bool Iterator::GetAttibuteBool(const std::string& name, bool defaultValue) const {
    return m_current ? m_current->GetAttributeBool(name, defaultValue) : defaultValue;
}

int Iterator::GetAttibuteInt(const std::string& name, int defaultValue) const {
    return m_current ? m_current->GetAttributeInt(name, defaultValue) : defaultValue;
}

float Iterator::GetAttibuteFloat(const std::string& name, float defaultValue) const {
    return m_current ? m_current->GetAttributeFloat(name, defaultValue) : defaultValue;
}

bool Iterator::SetAttribute(const std::string& name, const std::string& value) {
    if (!m_current)
        return false;
    m_current->SetAttribute(name, value);
    return true;
}

bool Iterator::Add(const Element& element) {
    if (!m_current || !m_current->Parent())
        return false;
    return m_current->Parent()->InsertAfterChild(m_current, element) != nullptr;
}

bool Iterator::AddChild(const Element& element) {
    if (!m_current)
        return false;
    return m_current->InsertEndChild(element) != nullptr;
}

bool Iterator::Remove() {
    if (!m_current || !m_current->Parent())
        return false;
    Element* next = Element::from(m_current->NextSiblingElement());
    m_current->Parent()->RemoveChild(m_current);
    m_current = next;
    return true;
}

bool Iterator::GoTo(Path& path) {
    if (!m_current || !GoToFirstElement())
        return false;
    path.Reset();
    if (path.size() == 0)
        return true;
    do {
        const std::string& key = path.GetKey();
        TiXmlElement* lastExamined = nullptr;
        TiXmlElement* match = nullptr;
        for (TiXmlElement* child = m_current->FirstChildElement(); child; child = child->NextSiblingElement()) {
            lastExamined = child;
            if (child->ValueStr() == key) {
                match = child;
                break;
            }
        }
        if (!match) {
            TiXmlElement fresh(key);
            match = lastExamined ? m_current->InsertAfterChild(lastExamined, fresh)->ToElement()
                                 : m_current->InsertEndChild(fresh)->ToElement();
        }
        m_current = Element::from(match);
    } while (path.Next());
    return true;
}

} // namespace xml
