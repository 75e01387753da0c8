#include "base/Config.h"

#include "file/System.h"

#include <cstdio>

DW_SINGLETON_DEFINE(base::Config)

namespace base {

Config::Config() : XmlStore(file::System::GetUserDataDirectory() + "config.xml", "Config") {}

Config::Config(const std::string& path) : XmlStore(path, "Config") {}

Config::~Config() = default;

std::string Config::getString(const std::string& section, const std::string& key, std::string defaultValue) {
    return readString(section, key, defaultValue);
}

int Config::getInt(const std::string& section, const std::string& key, int defaultValue) {
    return readInt(section, key, defaultValue);
}

float Config::getFloat(const std::string& section, const std::string& key, float defaultValue) {
    return readFloat(section, key, defaultValue);
}

bool Config::getBool(const std::string& section, const std::string& key, bool defaultValue) {
    return readBool(section, key, defaultValue, false);
}

void Config::setString(const std::string& section, const std::string& key, std::string value) {
    writeString(section, key, value);
}

void Config::setInt(const std::string& section, const std::string& key, int value) {
    char text[32];
    std::snprintf(text, sizeof text, "%d", value);
    writeNumber(section, key, text);
}

void Config::setFloat(const std::string& section, const std::string& key, float value) {
    char text[64];
    std::snprintf(text, sizeof text, "%f", value);
    writeNumber(section, key, text);
}

void Config::setBool(const std::string& section, const std::string& key, bool value) {
    writeBool(section, key, value, false);
}

} // namespace base
