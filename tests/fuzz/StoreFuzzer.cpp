// libFuzzer entry: every input goes through the XML layer and both stores.
#include "fuzz/StoreExercise.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <unistd.h>

namespace {
std::unique_ptr<StoreExercise> g_exercise;
std::string g_folder;

void removeFolder() {
    std::system(("rm -rf '" + g_folder + "'").c_str());
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Saves sync to disk; a memory file system keeps that from setting the pace.
    const char* base = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    std::string pattern = std::string(base) + "/kb_fuzz_XXXXXX";
    if (!::mkdtemp(&pattern[0])) {
        std::perror("fuzz: cannot make a work folder");
        std::abort();
    }
    g_folder = pattern;
    std::atexit(removeFolder);
    g_exercise.reset(new StoreExercise(g_folder));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string broken = g_exercise->Run(data, size);
    if (!broken.empty()) {
        std::fprintf(stdout, "fuzz: %s\n", broken.c_str());
        std::fflush(stdout);
        std::abort();
    }
    return 0;
}
