#include "application/GameState.h"
#include "application/LaunchOptions.h"
#include "application/Main.h"
#include "application/MainMenuState.h"
#include "application/Monkey.h"
#include "application/StartupProbe.h"
#include "game/Autopilot.h"
#include "game/GameCore.h"
#include "replay/ReplayActor.h"
#include "replay/ReplayPlayer.h"
#include "replay/ReplayStore.h"

#include <replay/Recording.h>

#include <OGRE/OgreEntity.h>
#include <OGRE/OgreSceneNode.h>

#include <base/StartupTrace.h>
#include <event/ApplicationStateEvent.h>
#include <event/Manager.h>

#include <file/System.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

namespace {

// Where the data of an installation lies, from the program's folder and as an
// absolute path (set by the build; the relative one keeps a moved or DESTDIR
// installation working).
#ifndef KB_INSTALL_DATA_FROM_BIN
#define KB_INSTALL_DATA_FROM_BIN "../share/kestrelby/assets"
#endif
#ifndef KB_INSTALL_DATA_DIR
#define KB_INSTALL_DATA_DIR "/usr/local/share/kestrelby/assets"
#endif
const char* const kDataVariable = "KB_DATA_DIR";
// The first file the game opens; a folder without it is not the game's data.
const char* const kDataProbe = "ui.pip";

// Folds "." and ".." out of an absolute path, for the message and to drop duplicates.
std::string folded(const std::string& path) {
    std::vector<std::string> parts;
    size_t start = 1;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos)
            end = path.size();
        const std::string part = path.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string result;
    for (const std::string& part : parts)
        result += "/" + part;
    return result.empty() ? "/" : result;
}

// The data beside the program (a build tree or an unpacked folder), then the
// installed data. An explicit KB_DATA_DIR is the only candidate: a mistyped
// override must not silently start another copy of the data.
std::vector<std::string> dataCandidates() {
    const char* override = std::getenv(kDataVariable);
    if (override && override[0])
        return {override};
    std::vector<std::string> candidates;
    const std::string program = file::System::ExecutableDirectory();
    if (!program.empty()) {
        candidates.push_back(folded(program + "/../assets"));
        candidates.push_back(folded(program + "/" + KB_INSTALL_DATA_FROM_BIN));
    }
    const std::string installed = folded(KB_INSTALL_DATA_DIR);
    if (candidates.empty() || candidates.back() != installed)
        candidates.push_back(installed);
    return candidates;
}

// One line naming every folder tried and the ways to get the data.
void reportMissingData(const std::vector<std::string>& candidates) {
    std::string tried;
    for (const std::string& candidate : candidates)
        tried += (tried.empty() ? "" : ", ") + candidate;
    const char* override = std::getenv(kDataVariable);
    const bool overridden = override && override[0];
    std::cerr << "kestrelby: no game data (" << kDataProbe << " in an \"assets\" folder) in "
              << (overridden ? std::string(kDataVariable) + "=" : std::string()) << tried
              << "; build it with \"cmake --build build\" and start build/bin/kestrelby, install it with "
                 "\"cmake --install build\", or "
              << (overridden ? "point " : "set ") << kDataVariable << (overridden ? " at" : " to")
              << " a folder holding it" << std::endl;
}

// Starts the mission as the mission selection's Start does and lets the
// autopilot play it; the exit code and one line tell how it went.
int autoplay(application::Main& app, const application::LaunchOptions& options) {
    game::GameCore* core = game::GameCore::getSingleton();
    event::Manager* events = event::Manager::getSingleton();
    if (!core || !events) {
        std::cout << "mission " << options.mission() << " failed: the game could not be set up" << std::endl;
        return 1;
    }
    core->set_mission_number(options.mission());
    core->set_vehicle_variant(options.variant());
    events->QueueEvent(new event::ApplicationStateEvent(event::ApplicationStateEvent::PUSH_STATE, "GameState"));

    game::Autopilot pilot;
    const char* trace = std::getenv("KB_AUTOPILOT_TRACE");
    pilot.set_trace(trace ? std::max(1, std::atoi(trace)) : 0);
    app.SetPassObserver([&pilot, &app](double seconds) {
        pilot.Update(seconds);
        if (pilot.IsFinished())
            app.Quit();
    });
    if (options.fast())
        app.SetFixedStep(application::LaunchOptions::kFastStepMicroseconds,
                         application::LaunchOptions::kFastDrawEvery);
    const auto started = std::chrono::steady_clock::now();
    const unsigned long framesBefore = app.frames_drawn();
    app.Run();
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    app.SetPassObserver(nullptr);
    std::cout << pilot.Summary() << std::endl;
    if (std::getenv("KB_AUTOPILOT_REPORT"))
        std::cout << "autopilot: game time " << pilot.game_time() << " s, least share of a step's time left "
                  << pilot.least_share() << ", recoveries " << pilot.recoveries() << ", wall time " << wall
                  << " s, " << (wall > 0.0 ? (app.frames_drawn() - framesBefore) / wall : 0.0)
                  << " frames per second" << std::endl;
    if (std::getenv("KB_AUTOPILOT_REPORT") && !pilot.end_pose().empty())
        std::cout << "autopilot: end position " << pilot.end_pose() << std::endl;
    return pilot.outcome() == game::Autopilot::kCompleted ? 0 : 1;
}

// Random play for the given game time at fixed steps; ends with its summary line.
int monkey(application::Main& app, const application::LaunchOptions& options) {
    application::Monkey player(options.seed());
    const double limit = options.monkey_seconds();
    app.SetPassObserver([&player, &app, limit](double seconds) {
        player.Update(seconds);
        if (player.game_time() >= limit)
            app.Quit();
    });
    app.SetFixedStep(application::LaunchOptions::kFastStepMicroseconds, application::LaunchOptions::kMonkeyDrawEvery);
    app.Run();
    app.SetPassObserver(nullptr);
    std::cout << player.Summary() << std::endl;
    if (player.game_time() < limit) {
        std::cerr << "monkey: the game ended after " << player.game_time() << " s of " << limit << " s" << std::endl;
        return 1;
    }
    return 0;
}

// Plays a replay file in the game state and ends with its mission and score.
int watch(application::Main& app, const application::LaunchOptions& options) {
    game::GameCore* core = game::GameCore::getSingleton();
    event::Manager* events = event::Manager::getSingleton();
    replay::Recording run;
    // A file that does not play says why (one line) before any screen change.
    if (!core || !events || !game::ReplayStore::Load(options.watch_file(), -1, run, false))
        return 1;
    core->set_mission_number(-1);
    core->set_replay_file(options.watch_file());
    events->QueueEvent(new event::ApplicationStateEvent(event::ApplicationStateEvent::PUSH_STATE, "GameState"));

    bool started = false;
    bool finished = false;
    uint32_t score = 0;
    std::string endPose;
    app.SetPassObserver([&](double) {
        auto* state = dynamic_cast<application::GameState*>(app.CurrentState());
        game::ReplayPlayer* player = state ? state->replay_player() : nullptr;
        if (!player) {
            // Not (or no longer) watching: the file did not play, or it was
            // left (the push is delivered before the first pass ends).
            app.Quit();
            return;
        }
        started = true;
        score = player->score();
        if (player->finished()) {
            finished = true;
            Ogre::Entity* chassis = player->actor() ? player->actor()->chassis_entity() : nullptr;
            if (chassis && chassis->getParentSceneNode())
                endPose = game::Autopilot::FormatPosition(chassis->getParentSceneNode()->_getDerivedPosition());
            app.Quit();
        }
    });
    if (options.fast())
        app.SetFixedStep(application::LaunchOptions::kFastStepMicroseconds,
                         application::LaunchOptions::kFastDrawEvery);
    app.Run();
    app.SetPassObserver(nullptr);
    if (!started)
        return 1;
    std::cout << "replay of mission " << run.mission() << ": score " << (finished ? run.score() : score) << std::endl;
    if (std::getenv("KB_REPLAY_REPORT") && !endPose.empty())
        std::cout << "replay: end position " << endPose << std::endl;
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    application::LaunchOptions options;
    std::string error;
    if (!options.Parse(argc, argv, error)) {
        std::cerr << "kestrelby: " << error << "; " << application::LaunchOptions::Usage() << std::endl;
        return 2;
    }
    if (options.startup_profile())
        base::StartupTrace::Enable();
    const std::vector<std::string> candidates = dataCandidates();
    if (file::System::EnterDataFolder(candidates, kDataProbe).empty()) {
        reportMissingData(candidates);
        return -1;
    }

    base::StartupTrace::Mark("data folder found");
    auto* app = new application::Main();
    if (!app->Init()) {
        std::cerr << "kestrelby: cannot start: "
                  << (app->failure().empty() ? std::string("start-up failed") : app->failure())
                  << " (logs in " << file::System::GetUserDataDirectory() << ")" << std::endl;
        // What did start is taken down in order, and the settings are saved once more.
        delete app;
        return -1;
    }
    app->AddState("MainMenu", new application::MainMenuState());
    app->ChangeState("MainMenu");
    base::StartupTrace::Mark("main menu dialog built (layout, pictures)");
    int result = 0;
    if (options.autoplay())
        result = autoplay(*app, options);
    else if (options.monkey())
        result = monkey(*app, options);
    else if (options.watch())
        result = watch(*app, options);
    else if (options.startup_profile())
        result = application::StartupProbe::Run(*app);
    else
        app->Run();
    delete app;
    return result;
}
