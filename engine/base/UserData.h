#pragma once

#include "base/Export.h"
#include "base/Singleton.h"
#include "base/XmlStore.h"

#include <string>

namespace base {

// The user-data store (user_data.xml): progress, highscores, play counts, achievements.
class DW_API UserData : public Singleton<UserData>, public XmlStore {
public:
    // Loads "user_data.xml" from the per-user directory.
    UserData();
    explicit UserData(const std::string& path);
    virtual ~UserData();

    std::string GetString(const std::string& section, const std::string& key, std::string defaultValue);
    int GetInt(const std::string& section, const std::string& key, int defaultValue);
    float GetFloat(const std::string& section, const std::string& key, float defaultValue);
    bool GetBool(const std::string& section, const std::string& key, bool defaultValue);

    void SetString(const std::string& section, const std::string& key, std::string value);
    void SetInt(const std::string& section, const std::string& key, int value);
    void SetFloat(const std::string& section, const std::string& key, float value);
    void SetBool(const std::string& section, const std::string& key, bool value);
};

} // namespace base

DW_SINGLETON_DECLARE(base::UserData)
