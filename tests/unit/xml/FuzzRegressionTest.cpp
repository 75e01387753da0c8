#include "fuzz/StoreExercise.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <string>
#include <vector>

namespace {

// Every input the store fuzzer ever failed on (tests/fuzz/regressions) goes
// through the same checks again; the valgrind run replays them as well.
TEST(FuzzRegression, EveryInputThatEverFailedPassesNow) {
    std::vector<std::string> inputs;
    if (DIR* dir = ::opendir(KB_FUZZ_REGRESSION_DIR)) {
        while (const dirent* entry = ::readdir(dir)) {
            if (entry->d_name[0] != '.')
                inputs.push_back(std::string(KB_FUZZ_REGRESSION_DIR) + "/" + entry->d_name);
        }
        ::closedir(dir);
    }
    ASSERT_FALSE(inputs.empty()) << "no inputs in " << KB_FUZZ_REGRESSION_DIR;

    TempDir work;
    StoreExercise exercise(work.path());
    for (const std::string& input : inputs) {
        const std::string bytes = TempDir::read(input);
        testing::internal::CaptureStderr();
        const std::string broken = exercise.Run(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        testing::internal::GetCapturedStderr();
        EXPECT_EQ(broken, "") << input;
    }
}

} // namespace
