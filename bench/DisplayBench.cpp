// Render core figures for an empty scene at 1024 x 768: time to open the
// window, OnDraw time (median, 95th percentile) and how many main-loop passes
// run between drawn frames. Needs an X display (tools/with-display.sh).
#include <base/Config.h>
#include <display/Core.h>
#include <event/Manager.h>
#include <file/System.h>
#include <input/Handler.h>

#include <OGRE/OgreRoot.h>
#include <OGRE/OgreTimer.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double percentile(std::vector<double> values, double fraction) {
    std::sort(values.begin(), values.end());
    const size_t index = static_cast<size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5);
    return values[index];
}

void DisplayEmptyScene(benchmark::State& state) {
    if (!std::getenv("DISPLAY")) {
        state.SkipWithError("needs an X display; run through tools/with-display.sh");
        return;
    }
    if (Ogre::Root::getSingletonPtr()) {
        state.SkipWithError("another benchmark left an Ogre root alive");
        return;
    }
    char pattern[] = "/tmp/kb_display_bench_XXXXXX";
    const std::string home = ::mkdtemp(pattern);
    ::setenv("XDG_DATA_HOME", home.c_str(), 1);
    file::System::set_product_name("kestrelby");
    std::ofstream(file::System::GetUserDataDirectory() + "config.xml")
        << "<?xml version=\"1.0\" ?>\n<root>\n"
           "<Display fullscreen=\"false\" width=\"1024\" height=\"768\" />\n</root>\n";

    const int kFrames = 300;
    const double kLoopSeconds = 2.0;

    for (auto _ : state) {
        auto* config = new base::Config();
        auto* events = new event::Manager();
        auto* core = new display::Core();
        auto* input = new input::Handler();

        const Clock::time_point openStart = Clock::now();
        const bool started = core->Init() && input->init(core->window_handle());
        const double openMs = millisecondsSince(openStart);
        if (!started) {
            state.SkipWithError("render core or input failed to start");
        } else {
            input->SetWindowSize(1024, 768);
            core->ActivateRenderWindow(true);
            core->OnDraw(0.0);  // first frame compiles and uploads; not counted

            std::vector<double> drawMs;
            drawMs.reserve(kFrames);
            for (int i = 0; i < kFrames; ++i) {
                const Clock::time_point drawStart = Clock::now();
                core->OnDraw(1.0 / 60.0);
                drawMs.push_back(millisecondsSince(drawStart));
            }

            // The main loop as the game runs it, without UI and states: the passes
            // that draw nothing are what input and game logic get between frames.
            Ogre::Timer timer;
            double accumulator = 0.0;
            uint64_t idlePasses = 0;
            uint64_t frames = 0;
            double drawSeconds = 0.0;
            const Clock::time_point loopStart = Clock::now();
            while (millisecondsSince(loopStart) < kLoopSeconds * 1000.0) {
                const double dt = static_cast<double>(static_cast<uint32_t>(timer.getMicroseconds()));
                timer.reset();
                input->Capture();
                events->Tick();
                accumulator += dt;
                if (accumulator > 16666.666666666668) {
                    const Clock::time_point drawStart = Clock::now();
                    core->OnDraw(accumulator * 0.000001);
                    drawSeconds += millisecondsSince(drawStart) / 1000.0;
                    accumulator = 0.0;
                    ++frames;
                } else {
                    ++idlePasses;
                }
            }
            const double loopSeconds = millisecondsSince(loopStart) / 1000.0;
            const double idleSeconds = loopSeconds - drawSeconds;

            // The same loop with the pass time taken as the difference of two clock
            // readings: reading and then resetting a timer loses the moment between
            // the two calls, which matters when passes take a few microseconds.
            uint64_t exactFrames = 0;
            double exactAccumulator = 0.0;
            Clock::time_point last = Clock::now();
            const Clock::time_point exactStart = last;
            while (millisecondsSince(exactStart) < kLoopSeconds * 1000.0) {
                const Clock::time_point now = Clock::now();
                exactAccumulator += std::chrono::duration<double, std::micro>(now - last).count();
                last = now;
                input->Capture();
                events->Tick();
                if (exactAccumulator > 16666.666666666668) {
                    core->OnDraw(exactAccumulator * 0.000001);
                    exactAccumulator = 0.0;
                    ++exactFrames;
                }
            }
            state.counters["frames_per_s_clock_difference"] =
                static_cast<double>(exactFrames) / (millisecondsSince(exactStart) / 1000.0);

            state.counters["open_ms"] = openMs;
            state.counters["ondraw_median_ms"] = percentile(drawMs, 0.5);
            state.counters["ondraw_p95_ms"] = percentile(drawMs, 0.95);
            state.counters["frames_per_s"] = static_cast<double>(frames) / loopSeconds;
            state.counters["passes_between_frames"] =
                frames ? static_cast<double>(idlePasses) / static_cast<double>(frames) : 0.0;
            state.counters["idle_passes_per_s"] =
                idleSeconds > 0.0 ? static_cast<double>(idlePasses) / idleSeconds : 0.0;
        }

        delete input;
        delete core;
        delete events;
        delete config;
    }
    std::system(("rm -rf '" + home + "'").c_str());
}

BENCHMARK(DisplayEmptyScene)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
