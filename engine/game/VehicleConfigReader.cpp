#include "game/VehicleConfigReader.h"

#include "game/VehicleConfig.h"

#include <tinyxml.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iostream>

namespace game {

namespace {

// Zero bytes after the text keep the parser from reading past a file that
// ends inside a multi-byte character.
const size_t kParsePadding = 4;

const TiXmlElement* findFirst(const TiXmlElement* element, const std::string& name) {
    if (!element)
        return nullptr;
    if (name == element->Value())
        return element;
    for (const TiXmlElement* child = element->FirstChildElement(); child; child = child->NextSiblingElement())
        if (const TiXmlElement* found = findFirst(child, name))
            return found;
    return nullptr;
}

// The key's text, or false when the key is absent or empty (the default stays).
bool keyText(const TiXmlDocument& document, const char* key, std::string& text) {
    const TiXmlElement* element = findFirst(document.RootElement(), key);
    if (!element || !element->GetText())
        return false;
    text = element->GetText();
    return text.find_first_not_of(" \t\r\n") != std::string::npos;
}

// A number within +-limit, or false with one line and the value kept.
bool readNumber(const TiXmlDocument& document, const std::string& file, const char* key, double limit,
                double current, double& parsed) {
    std::string text;
    if (!keyText(document, key, text))
        return false;
    const char* start = text.c_str();
    char* end = nullptr;
    parsed = std::strtod(start, &end);
    if (end == start || !std::isfinite(parsed) || std::fabs(parsed) > limit) {
        std::cerr << "Vehicle: " << file << ": \"" << key << "\" is not a number (\"" << text << "\"), keeping "
                  << current << std::endl;
        return false;
    }
    return true;
}

void readFloat(const TiXmlDocument& document, const std::string& file, const char* key, float& value) {
    double parsed = 0.0;
    if (readNumber(document, file, key, 3.4e38, value, parsed))
        value = static_cast<float>(parsed);
}

void readInt(const TiXmlDocument& document, const std::string& file, const char* key, long& value) {
    double parsed = 0.0;
    if (readNumber(document, file, key, 1e9, static_cast<double>(value), parsed))
        value = static_cast<long>(parsed);
}

// Read only: configurations are assets, never rewritten by the game.
bool readFile(const std::string& path, std::string& text) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        text.append(buffer, n);
    const bool ok = !std::ferror(file);
    std::fclose(file);
    return ok;
}

} // namespace

bool VehicleConfigReader::Read(const std::string& fileName, VehicleConfig& config) {
    std::string text;
    if (!readFile(fileName, text)) {
        std::cerr << "Vehicle: can't read configuration \"" << fileName << "\", keeping the current values"
                  << std::endl;
        return false;
    }
    return Parse(text.data(), text.size(), fileName, config);
}

bool VehicleConfigReader::Parse(const char* data, std::size_t size, const std::string& fileName,
                                VehicleConfig& config) {
    std::string text(data, size);
    text.append(kParsePadding, '\0');
    TiXmlDocument document;
    document.Parse(text.c_str());
    if (document.Error() || !document.RootElement()) {
        std::cerr << "Vehicle: can't parse configuration \"" << fileName << "\": "
                  << (document.Error() ? document.ErrorDesc() : "no root element") << ", keeping the current values"
                  << std::endl;
        return false;
    }

    VehicleConfig read = config;
    readInt(document, fileName, "num_wheels", read.numWheels);
    readInt(document, fileName, "num_powered_wheels", read.numPoweredWheels);
    readFloat(document, fileName, "max_engine_force", read.maxEngineForce);
    readFloat(document, fileName, "steering_increment", read.steeringIncrement);
    readFloat(document, fileName, "steering_clamp", read.steeringClamp);
    readInt(document, fileName, "weight", read.weight);
    readFloat(document, fileName, "wheel_friction", read.wheelFriction);
    readFloat(document, fileName, "friction_slip", read.frictionSlip);
    readFloat(document, fileName, "suspension_stiffness", read.suspensionStiffness);
    readFloat(document, fileName, "suspension_damping", read.suspensionDamping);
    readFloat(document, fileName, "suspension_compression", read.suspensionCompression);
    readFloat(document, fileName, "suspension_rest_length", read.suspensionRestLength);
    readFloat(document, fileName, "suspension_max_travel_cm", read.suspensionMaxTravelCm);
    readFloat(document, fileName, "roll_influence", read.rollInfluence);
    readFloat(document, fileName, "connection_height", read.connectionHeight);
    readFloat(document, fileName, "chassis_shift", read.chassisShift);

    // Values the physics cannot work with are brought into range, once each.
    if (read.numWheels < 0) {
        std::cerr << "Vehicle: " << fileName << ": num_wheels " << read.numWheels << " is negative, using "
                  << VehicleConfig::kDefaultWheels << std::endl;
        read.numWheels = VehicleConfig::kDefaultWheels;
    }
    if (read.numPoweredWheels < 0) {
        std::cerr << "Vehicle: " << fileName << ": num_powered_wheels " << read.numPoweredWheels
                  << " is negative, using 0" << std::endl;
        read.numPoweredWheels = 0;
    }
    if (read.numPoweredWheels > read.numWheels) {
        std::cerr << "Vehicle: " << fileName << ": num_powered_wheels " << read.numPoweredWheels
                  << " is more than the " << read.numWheels << " wheels, using " << read.numWheels << std::endl;
        read.numPoweredWheels = read.numWheels;
    }
    if (read.weight <= 0) {
        std::cerr << "Vehicle: " << fileName << ": weight " << read.weight << " is not positive, using "
                  << VehicleConfig::kDefaultWeight << std::endl;
        read.weight = VehicleConfig::kDefaultWeight;
    }
    if (read.steeringIncrement < 0) {
        std::cerr << "Vehicle: " << fileName << ": steering_increment " << read.steeringIncrement
                  << " is negative, using 0" << std::endl;
        read.steeringIncrement = 0;
    }
    if (read.steeringClamp < 0) {
        std::cerr << "Vehicle: " << fileName << ": steering_clamp " << read.steeringClamp << " is negative, using 0"
                  << std::endl;
        read.steeringClamp = 0;
    }
    config = read;
    return true;
}

} // namespace game
