#pragma once

#include <cstdint>
#include <string>

namespace replay {
class Recording;
}

namespace game {

// Where the game keeps its runs: replays/mission<N>_<variant>_best and
// _last in the per-user folder. The last run is always kept, the best one
// when its score beats the stored best.
class ReplayStore {
public:
    static const char* const kExtension;
    static const char* const kGameVersion;

    static std::string Folder();
    static std::string BestPath(int32_t mission, const std::string& variant);
    static std::string LastPath(int32_t mission, const std::string& variant);

    // Writes the last run and, when it beats the stored best (or there is
    // none that reads), the best; one line on stderr for a failed write.
    // True when the run became the best.
    static bool Keep(const replay::Recording& run);
    // Reads a replay; a file that does not read, or that is not of
    // `mission` (when it is not -1), gets one line on stderr naming it and
    // why. A missing file is silent when `quietWhenMissing`.
    static bool Load(const std::string& path, int32_t mission, replay::Recording& run, bool quietWhenMissing);
    // True when a best run of the mission and variant exists on disk.
    static bool HasBest(int32_t mission, const std::string& variant);
};

} // namespace game
