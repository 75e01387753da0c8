#include "display/DriverPin.h"

#if defined(__SANITIZE_ADDRESS__)
#include <dlfcn.h>
#include <link.h>

#include <cstring>
#include <string>
#include <vector>
#endif

namespace display {

#if defined(__SANITIZE_ADDRESS__)
namespace {
// libglvnd's vendor libraries (libGLX_mesa, libGLX_nvidia) and Mesa's drivers.
bool isGlDriver(const char* path) {
    const char* name = std::strrchr(path, '/');
    name = name ? name + 1 : path;
    return std::strncmp(name, "libGLX_", 7) == 0 || std::strstr(name, "_dri.so") != nullptr;
}

int collect(dl_phdr_info* info, size_t, void* data) {
    if (info->dlpi_name && isGlDriver(info->dlpi_name))
        static_cast<std::vector<std::string>*>(data)->emplace_back(info->dlpi_name);
    return 0;
}
}

int DriverPin::Hold() {
    std::vector<std::string> loaded;
    dl_iterate_phdr(collect, &loaded);
    int pinned = 0;
    for (const std::string& path : loaded) {
        // Already loaded: NOLOAD takes another reference, NODELETE makes it stay.
        if (dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE))
            ++pinned;
    }
    return pinned;
}
#else
int DriverPin::Hold() {
    return 0;
}
#endif

}
