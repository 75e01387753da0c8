#pragma once

#include <cstdint>
#include <string>

namespace application {

// What the command line asks of a start: the menu, or a mission played by
// the autopilot, at the clock's pace or at fixed steps as fast as possible.
class LaunchOptions {
public:
    // Game time per pass and drawn passes in a fast autopilot run.
    static const double kFastStepMicroseconds;
    static const unsigned int kFastDrawEvery;

    // False, with a one-line reason in `error`, for anything it does not know.
    bool Parse(int argc, const char* const* argv, std::string& error);

    bool autoplay() const { return m_mission > 0; }
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
    bool m_startupProfile = false;
};

} // namespace application
