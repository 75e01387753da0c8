#include "file/System.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

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

// The resolved path of an existing folder; empty otherwise.
std::string resolvedFolder(const std::string& path) {
    char resolved[PATH_MAX];
    struct stat info;
    if (!::realpath(path.c_str(), resolved) || ::stat(resolved, &info) != 0 || !S_ISDIR(info.st_mode))
        return std::string();
    return resolved;
}

bool isFile(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

const char* const kDataFolderName = "assets";
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

std::string System::ExecutableDirectory() {
    char path[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof(path) - 1);
    if (length <= 0)
        return std::string();
    const std::string program(path, static_cast<size_t>(length));
    const size_t slash = program.rfind('/');
    if (slash == std::string::npos)
        return std::string();
    return slash == 0 ? std::string("/") : program.substr(0, slash);
}

std::string System::EnterDataFolder(const std::vector<std::string>& candidates, const std::string& probe) {
    for (const std::string& candidate : candidates) {
        if (candidate.empty())
            continue;
        for (const std::string& path : {candidate, candidate + "/" + kDataFolderName}) {
            // Resolved first: ".." from inside a linked folder climbs the real tree.
            const std::string folder = resolvedFolder(path);
            const size_t slash = folder.rfind('/');
            if (folder.empty() || folder.compare(slash + 1, std::string::npos, kDataFolderName) != 0)
                continue;
            if (isFile(folder + "/" + probe) && ::chdir(folder.c_str()) == 0)
                return folder;
        }
    }
    return std::string();
}

} // namespace file
