// libFuzzer entry for one of the game's file readers: KB_FUZZ_EXERCISE names
// the exercise class and KB_FUZZ_HEADER its header (set per target).
#include KB_FUZZ_HEADER

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    KB_FUZZ_EXERCISE exercise;
    const std::string broken = exercise.Run(data, size);
    if (!broken.empty()) {
        std::fprintf(stdout, "fuzz: %s\n", broken.c_str());
        std::fflush(stdout);
        std::abort();
    }
    return 0;
}
