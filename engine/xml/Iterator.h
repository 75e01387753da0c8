#pragma once

#include "base/Export.h"

#include <string>

namespace xml {

class Document;
class Element;
class Path;

// A cursor over a document that walks, searches and edits it.
class DW_API Iterator {
public:
    explicit Iterator(Document* document);
    Iterator(const Iterator&) = default;
    Iterator& operator=(const Iterator&) = default;
    virtual ~Iterator() = default;

    bool GoToFirstElement();
    bool HasNextSibling() const;
    bool NextSibling();
    bool goToParent();
    bool goToFirstChild();
    Element* GetChild(const std::string& name) const;

    // Pre-order search of the current element, its descendants and its
    // following siblings with theirs; moves there on success.
    bool Find(const std::string& name);
    // A new iterator (owned by the caller) on the first match below the root, or null.
    static Iterator* Find(Document& document, const std::string& name);

    const std::string& GetName() const;
    std::string GetValue() const;
    bool SetValue(const std::string& text);
    std::string GetAttribute(const std::string& name) const;
    bool GetAttibuteBool(const std::string& name, bool defaultValue) const;
    int GetAttibuteInt(const std::string& name, int defaultValue) const;
    float GetAttibuteFloat(const std::string& name, float defaultValue) const;
    bool SetAttribute(const std::string& name, const std::string& value);

    bool Add(const Element& element);
    bool AddChild(const Element& element);
    bool Remove();
    // Walks from the root along the path, creating the elements that are missing.
    bool GoTo(Path& path);

    Element* current() const { return m_current; }

private:
    Element* m_current = nullptr;
    Document* m_document = nullptr;
};

} // namespace xml
