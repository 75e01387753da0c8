#include "file/System.h"

#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>

DW_SINGLETON_DEFINE(file::System)

namespace file {

const char* const System::kPluginDir = KB_OGRE_PLUGIN_DIR "/";
std::string System::m_product_name;

namespace {
bool makeDirectory(const std::string& path) {
    return ::mkdir(path.c_str(), 0755) == 0 || errno == EEXIST;
}

// Creates every missing level of an absolute path.
bool makeDirectories(const std::string& path) {
    for (size_t pos = path.find('/', 1); pos != std::string::npos; pos = path.find('/', pos + 1)) {
        if (!makeDirectory(path.substr(0, pos)))
            return false;
    }
    return makeDirectory(path);
}
} // namespace

void System::set_product_name(const std::string& name) {
    m_product_name = name;
}

std::string System::product_name() {
    return m_product_name;
}

std::string System::applicationDataFolder() {
    std::string folder;
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && xdg[0] == '/') {
        folder = xdg;
    } else {
        const char* home = std::getenv("HOME");
        if (!home || home[0] != '/')
            return std::string();
        folder = std::string(home) + "/.local/share";
    }
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return makeDirectories(folder) ? folder : std::string();
}

void System::prepareUserHome(const std::string& product) {
    const std::string folder = applicationDataFolder();
    if (folder.empty())
        return;
    const std::string company = folder + "/brightmoor";
    if (::mkdir(company.c_str(), 0755) != 0 && errno != EEXIST)
        return;
    ::mkdir((company + "/" + product).c_str(), 0755);
}

std::string System::GetUserDataDirectory() {
    const std::string folder = applicationDataFolder();
    if (folder.empty())
        return std::string();
    prepareUserHome(m_product_name);
    return folder + "/brightmoor/" + m_product_name + "/";
}

} // namespace file
