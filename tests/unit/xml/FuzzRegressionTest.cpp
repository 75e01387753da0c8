#include "fuzz/MissionExercise.h"
#include "fuzz/SceneExercise.h"
#include "fuzz/StoreExercise.h"
#include "fuzz/VehicleExercise.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <string>
#include <vector>

namespace {

// Every input a fuzzer ever failed on (tests/fuzz/regressions) goes through
// the checks of all of them again: the stores and the mission, scene and
// vehicle readers. The valgrind run replays them as well.
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
    StoreExercise stores(work.path());
    MissionExercise mission;
    SceneExercise scene;
    VehicleExercise vehicle;
    for (const std::string& input : inputs) {
        const std::string bytes = TempDir::read(input);
        const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
        testing::internal::CaptureStderr();
        const std::string broken[] = {stores.Run(data, bytes.size()), mission.Run(data, bytes.size()),
                                      scene.Run(data, bytes.size()), vehicle.Run(data, bytes.size())};
        testing::internal::GetCapturedStderr();
        const char* const who[] = {"stores", "mission", "scene", "vehicle"};
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(broken[i], "") << who[i] << ": " << input;
    }
}

} // namespace
