#include "replay/ReplayStore.h"

#include <file/System.h>
#include <replay/Recording.h>
#include <replay/ReplayFile.h>

#include <cerrno>
#include <iostream>
#include <sys/stat.h>
#include <unistd.h>

#ifndef KB_GAME_VERSION
#define KB_GAME_VERSION "unknown"
#endif

namespace game {

const char* const ReplayStore::kExtension = ".kbreplay";
const char* const ReplayStore::kGameVersion = KB_GAME_VERSION;

namespace {
std::string runPath(int32_t mission, const std::string& variant, const char* which) {
    return ReplayStore::Folder() + "mission" + std::to_string(mission) + "_" + variant + "_" + which +
           ReplayStore::kExtension;
}

void report(const std::string& path, const std::string& why) {
    std::cerr << "replay: \"" << path << "\": " << why << std::endl;
}
} // namespace

std::string ReplayStore::Folder() {
    const std::string folder = file::System::GetUserDataDirectory() + "replays/";
    if (::mkdir(folder.c_str(), 0777) != 0 && errno != EEXIST)
        report(folder, "cannot make the folder");
    return folder;
}

std::string ReplayStore::BestPath(int32_t mission, const std::string& variant) {
    return runPath(mission, variant, "best");
}

std::string ReplayStore::LastPath(int32_t mission, const std::string& variant) {
    return runPath(mission, variant, "last");
}

bool ReplayStore::Keep(const replay::Recording& run) {
    std::string why;
    const std::string last = LastPath(run.mission(), run.variant());
    if (!replay::ReplayFile::Save(last, run, why))
        report(last, "not saved (" + why + ")");
    const std::string best = BestPath(run.mission(), run.variant());
    replay::Recording stored;
    if (Load(best, run.mission(), stored, true) && stored.score() >= run.score())
        return false;
    if (!replay::ReplayFile::Save(best, run, why)) {
        report(best, "not saved (" + why + ")");
        return false;
    }
    return true;
}

bool ReplayStore::Load(const std::string& path, int32_t mission, replay::Recording& run, bool quietWhenMissing) {
    if (quietWhenMissing && ::access(path.c_str(), F_OK) != 0)
        return false;
    replay::Recording read;
    std::string why;
    if (!replay::ReplayFile::Load(path, read, why)) {
        report(path, why + ", not played");
        return false;
    }
    if (mission != -1 && read.mission() != mission) {
        report(path, "a run of mission " + std::to_string(read.mission()) + ", not of mission " +
                         std::to_string(mission) + ", not played");
        return false;
    }
    run = std::move(read);
    return true;
}

bool ReplayStore::HasBest(int32_t mission, const std::string& variant) {
    return ::access(BestPath(mission, variant).c_str(), R_OK) == 0;
}

} // namespace game
