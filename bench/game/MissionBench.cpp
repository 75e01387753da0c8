// Mission start and game iteration in the real program setting: the first
// start (the airport is built), repeated starts of other missions, and one
// game iteration (events, objects, vehicles, mission clock and physics;
// drawing excluded) while a vehicle drives. Needs a display (run under
// xvfb-run) and the generated assets; prints its figures.
#include "application/GameState.h"
#include "application/Main.h"
#include "application/MainMenuState.h"
#include "game/GameCore.h"
#include "game/MissionData.h"

#include <event/KeyEvent.h>
#include <event/Manager.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

const double kFrame = 1.0 / 60.0;
const int kIterations = 1200;
const int kRestartMissions[] = {2, 5, 9, 14, 21};
const double kFirstStartGoal = 3.0;
const double kRestartGoal = 0.3;
const double kIterationGoalMs = 0.5;
// From the click in mission selection to the first frame of the airport on screen.
const double kFirstDrawnGoal = 1.5;

double seconds(Clock::time_point from) {
    return std::chrono::duration<double>(Clock::now() - from).count();
}

double percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    return values[static_cast<size_t>(p * (values.size() - 1))];
}

// The per-user folder of this run only, with a windowed 1024 x 768 game.
void privateHome() {
    char pattern[] = "/tmp/kb_bench_XXXXXX";
    const std::string dir = ::mkdtemp(pattern);
    ::setenv("XDG_DATA_HOME", dir.c_str(), 1);
    const std::string home = dir + "/brightmoor/kestrelby";
    std::system(("mkdir -p '" + home + "'").c_str());
    std::ofstream(home + "/config.xml") << "<?xml version=\"1.0\" ?>\n<root>\n"
                                           "<Display fullscreen=\"false\" width=\"1024\" height=\"768\" />\n"
                                           "</root>\n";
}

// Fixed steps of 1/60 s draw a frame on the first pass.
void drawOneFrame(application::Main& app) {
    app.SetFixedStep(kFrame * 1000000.0, 1);
    const unsigned long before = app.frames_drawn();
    while (app.frames_drawn() == before)
        app.RunIteration(kFrame * 1000000.0);
}

const char* verdict(double value, double goal) {
    return value < goal ? "ok" : "ABOVE GOAL";
}

} // namespace

int main() {
    privateHome();
    auto* app = new application::Main();
    if (!app->Init()) {
        std::fprintf(stderr, "MissionBench: the game did not start: %s\n", app->failure().c_str());
        delete app;
        return 1;
    }
    app->AddState("MainMenu", new application::MainMenuState());
    app->ChangeState("MainMenu");
    game::GameCore* core = game::GameCore::getSingleton();
    event::Manager* events = event::Manager::getSingleton();

    core->set_mission_number(1);
    // The player starts a mission from a menu already on screen.
    drawOneFrame(*app);
    Clock::time_point start = Clock::now();
    app->PushState("GameState");
    const double first = seconds(start);
    drawOneFrame(*app);
    const double firstDrawn = seconds(start);
    app->PopState();

    std::vector<double> restarts;
    for (int mission : kRestartMissions) {
        core->set_mission_number(mission);
        start = Clock::now();
        app->PushState("GameState");
        restarts.push_back(seconds(start));
        if (!core->mission_data()->IsPlayable())
            std::fprintf(stderr, "MissionBench: mission %d did not load\n", mission);
        app->PopState();
    }

    core->set_mission_number(1);
    app->PushState("GameState");
    events->QueueEvent(new event::KeyEvent(event::KeyEvent::KEY_PRESSED, OIS::KC_UP));
    std::vector<double> iterations;
    iterations.reserve(kIterations);
    for (int i = 0; i < kIterations; ++i) {
        start = Clock::now();
        events->Tick();
        app->CurrentState()->Update(kFrame);
        iterations.push_back(seconds(start) * 1000.0);
    }
    app->PopState();

    const double restart = percentile(restarts, 0.5);
    const double median = percentile(iterations, 0.5);
    std::printf("mission start, first (world built):   %7.3f s   goal < %.1f s    %s\n", first, kFirstStartGoal,
                verdict(first, kFirstStartGoal));
    std::printf("mission start, first, to its first frame: %7.3f s   goal < %.1f s    %s\n", firstDrawn,
                kFirstDrawnGoal, verdict(firstDrawn, kFirstDrawnGoal));
    std::printf("mission start, again (median of %zu):   %7.3f s   goal < %.1f s    %s (slowest %.3f s)\n",
                restarts.size(), restart, kRestartGoal, verdict(restart, kRestartGoal),
                percentile(restarts, 1.0));
    std::printf("game iteration, median of %d:       %7.3f ms  goal < %.1f ms   %s (90th percentile %.3f ms, 95th %.3f ms)\n",
                kIterations, median, kIterationGoalMs, verdict(median, kIterationGoalMs),
                percentile(iterations, 0.9), percentile(iterations, 0.95));
    delete app;
    return 0;
}
