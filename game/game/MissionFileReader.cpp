#include "game/MissionFileReader.h"

#include <tinyxml.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>

namespace game {

namespace {

// Zero bytes behind the text: the XML parser reads past the end of a file
// that stops inside a multi-byte character.
const std::size_t kParsePadding = 8;

std::string attribute(const TiXmlElement& element, const char* name) {
    const char* value = element.Attribute(name);
    return value ? value : "";
}

} // namespace

bool MissionFileReader::Read(const std::string& path) {
    m_entries.clear();
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::cerr << "MissionData: cannot read " << path << std::endl;
        return false;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return Parse(text.data(), text.size(), path);
}

bool MissionFileReader::Parse(const char* data, std::size_t size, const std::string& path) {
    m_entries.clear();
    std::string text(data, size);
    text.append(kParsePadding, '\0');
    TiXmlDocument document(path);
    document.Parse(text.c_str());
    const TiXmlElement* root = document.RootElement();
    if (document.Error() || !root) {
        std::cerr << "MissionData: " << path << " is no mission file: "
                  << (document.Error() ? document.ErrorDesc() : "no root element") << std::endl;
        return false;
    }

    for (const TiXmlElement* child = root->FirstChildElement(); child; child = child->NextSiblingElement()) {
        const std::string name = child->ValueStr();
        Entry entry;
        if (name == "spawn") {
            entry.kind = kSpawnEntry;
            entry.type = attribute(*child, "type");
            entry.vehicle = attribute(*child, "vehicle");
            entry.name = attribute(*child, "name");
        } else if (name == "mini_game") {
            entry.kind = kMiniGameEntry;
            entry.game = attribute(*child, "game");
        } else if (name == "trigger") {
            entry.kind = kTriggerEntry;
            entry.type = attribute(*child, "type");
            entry.name = attribute(*child, "name");
            entry.timeText = attribute(*child, "time");
            char* end = nullptr;
            entry.time = std::strtod(entry.timeText.c_str(), &end);
            entry.hasTime = !entry.timeText.empty() && end != entry.timeText.c_str() && std::isfinite(entry.time);
        } else {
            continue;
        }
        m_entries.push_back(entry);
    }
    return true;
}

} // namespace game
