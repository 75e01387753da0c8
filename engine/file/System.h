#pragma once

#include "base/Export.h"
#include "base/Singleton.h"

#include <string>
#include <vector>

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

    // The folder of the running program file, symbolic links resolved; empty when unknown.
    static std::string ExecutableDirectory();
    // Data paths stay relative ("../assets/..."), so a program started from any
    // folder first moves its working directory to where they resolve: into the
    // first candidate that is a folder named "assets" holding `probe`, or that
    // holds such a folder. Returns that data folder (resolved), or an empty
    // string with the working directory unchanged.
    static std::string EnterDataFolder(const std::vector<std::string>& candidates, const std::string& probe);

private:
    // The per-user application-data folder, created when missing; empty on failure.
    static std::string applicationDataFolder();

    static std::string m_product_name;
};

} // namespace file

DW_SINGLETON_DECLARE(file::System)
