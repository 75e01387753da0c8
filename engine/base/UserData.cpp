#include "base/UserData.h"

#include "file/System.h"

#include <cstdio>

DW_SINGLETON_DEFINE(base::UserData)

namespace base {

UserData::UserData() : XmlStore(file::System::GetUserDataDirectory() + "user_data.xml", "UserData") {}

UserData::UserData(const std::string& path) : XmlStore(path, "UserData") {}

UserData::~UserData() = default;

std::string UserData::GetString(const std::string& section, const std::string& key, std::string defaultValue) {
    return readString(section, key, defaultValue);
}

int UserData::GetInt(const std::string& section, const std::string& key, int defaultValue) {
    return readInt(section, key, defaultValue);
}

float UserData::GetFloat(const std::string& section, const std::string& key, float defaultValue) {
    return readFloat(section, key, defaultValue);
}

bool UserData::GetBool(const std::string& section, const std::string& key, bool defaultValue) {
    return readBool(section, key, defaultValue, true);
}

void UserData::SetString(const std::string& section, const std::string& key, std::string value) {
    writeString(section, key, value);
}

void UserData::SetInt(const std::string& section, const std::string& key, int value) {
    char text[32];
    std::snprintf(text, sizeof text, "%d", value);
    writeNumber(section, key, text);
}

void UserData::SetFloat(const std::string& section, const std::string& key, float value) {
    char text[64];
    std::snprintf(text, sizeof text, "%f", value);
    writeNumber(section, key, text);
}

void UserData::SetBool(const std::string& section, const std::string& key, bool value) {
    writeBool(section, key, value, true);
}

} // namespace base
