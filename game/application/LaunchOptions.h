#pragma once

#include <cstdint>
#include <string>

namespace application {

// What the command line asks of a start: the menu, or a mission played by
// the autopilot, or a replay watched, at the clock's pace or at fixed steps
// as fast as possible.
class LaunchOptions {
public:
    // Game time per pass and drawn passes in a fast autopilot run.
    static const double kFastStepMicroseconds;
    static const unsigned int kFastDrawEvery;
    // Drawn passes in a monkey run: often enough that what it opens is drawn.
    static const unsigned int kMonkeyDrawEvery;

    // False, with a one-line reason in `error`, for anything it does not know.
    bool Parse(int argc, const char* const* argv, std::string& error);

    bool autoplay() const { return m_mission > 0; }
    // --monkey SECONDS [--seed N]: random play for that much game time.
    bool monkey() const { return m_monkeySeconds > 0.0; }
    double monkey_seconds() const { return m_monkeySeconds; }
    uint32_t seed() const { return m_seed; }
    // --watch FILE: plays a replay file and ends.
    bool watch() const { return !m_watchFile.empty(); }
    const std::string& watch_file() const { return m_watchFile; }
    int32_t mission() const { return m_mission; }
    const std::string& variant() const { return m_variant; }
    bool fast() const { return m_fast; }
    // --startup-profile: time the start up to the drawn main menu, print it and end.
    bool startup_profile() const { return m_startupProfile; }

    static const char* Usage();

private:
    int32_t m_mission = 0;
    std::string m_variant = "normal";
    bool m_fast = false;
    double m_monkeySeconds = 0.0;
    uint32_t m_seed = 1;
    std::string m_watchFile;
    bool m_startupProfile = false;
};

} // namespace application
