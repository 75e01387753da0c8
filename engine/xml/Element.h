#pragma once

#include "base/Export.h"

#include <tinyxml.h>

#include <string>

namespace xml {

// Typed access to one element. Adds no data to the parser's element, so every
// element of a parsed tree can be used as one (see Element::from).
class DW_API Element : public TiXmlElement {
public:
    explicit Element(const std::string& name);

    static Element* from(TiXmlElement* element) { return static_cast<Element*>(element); }
    static const Element* from(const TiXmlElement* element) { return static_cast<const Element*>(element); }

    void AddChild(const std::string& name);
    // Child and sibling look-ups consider elements only; an empty name takes the first one.
    const Element* GetChild(const std::string& name) const;
    const Element* GetSibling(const std::string& name) const;

    std::string GetName() const;
    std::string GetValue() const;
    std::string GetAttribute(const std::string& name) const;
    bool GetAttributeBool(const std::string& name, bool defaultValue) const;
    int GetAttributeInt(const std::string& name, int defaultValue) const;
    float GetAttributeFloat(const std::string& name, float defaultValue) const;
    int GetIntValue(int defaultValue) const;
    float GetFloatValue(float defaultValue) const;

    // Number parsing shared with the iterator: leading blanks skipped, longest
    // numeric prefix taken, the default when the text holds no number at all.
    static int ParseInt(const std::string& text, int defaultValue);
    static float ParseFloat(const std::string& text, float defaultValue);
};

} // namespace xml
