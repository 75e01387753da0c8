#pragma once

#include "base/Export.h"
#include "base/Singleton.h"
#include "base/XmlStore.h"

#include <string>

namespace base {

// The settings store (config.xml): display, sound and language settings.
class DW_API Config : public Singleton<Config>, public XmlStore {
public:
    // Loads "config.xml" from the per-user directory.
    Config();
    explicit Config(const std::string& path);
    virtual ~Config();

    std::string getString(const std::string& section, const std::string& key, std::string defaultValue);
    int getInt(const std::string& section, const std::string& key, int defaultValue);
    float getFloat(const std::string& section, const std::string& key, float defaultValue);
    bool getBool(const std::string& section, const std::string& key, bool defaultValue);

    void setString(const std::string& section, const std::string& key, std::string value);
    void setInt(const std::string& section, const std::string& key, int value);
    void setFloat(const std::string& section, const std::string& key, float value);
    void setBool(const std::string& section, const std::string& key, bool value);
};

} // namespace base

DW_SINGLETON_DECLARE(base::Config)
