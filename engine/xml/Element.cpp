#include "xml/Element.h"

#include <locale>
#include <sstream>

namespace xml {

Element::Element(const std::string& name) : TiXmlElement(name) {}

void Element::AddChild(const std::string& name) {
    LinkEndChild(new TiXmlElement(name));
}

const Element* Element::GetChild(const std::string& name) const {
    return from(name.empty() ? FirstChildElement() : FirstChildElement(name));
}

const Element* Element::GetSibling(const std::string& name) const {
    return from(name.empty() ? NextSiblingElement() : NextSiblingElement(name));
}

std::string Element::GetName() const {
    return ValueStr();
}

std::string Element::GetValue() const {
    const TiXmlNode* child = FirstChild();
    if (child && child->ToText())
        return child->ValueStr();
    return std::string();
}

std::string Element::GetAttribute(const std::string& name) const {
    const std::string* value = Attribute(name);
    return value ? *value : std::string();
}

bool Element::GetAttributeBool(const std::string& name, bool defaultValue) const {
    const std::string* value = Attribute(name);
    return value ? *value == "true" : defaultValue;
}

int Element::GetAttributeInt(const std::string& name, int defaultValue) const {
    const std::string* value = Attribute(name);
    return value ? ParseInt(*value, defaultValue) : defaultValue;
}

float Element::GetAttributeFloat(const std::string& name, float defaultValue) const {
    const std::string* value = Attribute(name);
    return value ? ParseFloat(*value, defaultValue) : defaultValue;
}

int Element::GetIntValue(int defaultValue) const {
    const std::string text = GetValue();
    return text.empty() ? defaultValue : ParseInt(text, defaultValue);
}

float Element::GetFloatValue(float defaultValue) const {
    const std::string text = GetValue();
    return text.empty() ? defaultValue : ParseFloat(text, defaultValue);
}

namespace {
template <typename T>
T parseNumber(const std::string& text, T defaultValue) {
    std::istringstream in(text);
    in.imbue(std::locale::classic());
    T value{};
    return (in >> value) ? value : defaultValue;
}
} // namespace

int Element::ParseInt(const std::string& text, int defaultValue) {
    return parseNumber<int>(text, defaultValue);
}

float Element::ParseFloat(const std::string& text, float defaultValue) {
    return parseNumber<float>(text, defaultValue);
}

} // namespace xml
