#pragma once

#include "base/Export.h"
#include "base/Singleton.h"

#include <string>

namespace file {

// The per-user directory: $XDG_DATA_HOME/brightmoor/<product>/ (XDG_DATA_HOME
// defaults to ~/.local/share). Everything here is static; no instance is made.
class DW_API System : public base::Singleton<System> {
public:
    // Put in front of every plug-in file name the render core loads.
    static const char* const kPluginDir;

    virtual ~System() = default;

    static void set_product_name(const std::string& name);
    static std::string product_name();
    static void prepareUserHome(const std::string& product);
    // The directory path ending in '/', created when missing; empty when the
    // platform names no data folder (the stores then live in the working directory).
    static std::string GetUserDataDirectory();

private:
    // The per-user application-data folder, created when missing; empty on failure.
    static std::string applicationDataFolder();

    static std::string m_product_name;
};

} // namespace file

DW_SINGLETON_DECLARE(file::System)
