#include "application/LaunchOptions.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace application {

const double LaunchOptions::kFastStepMicroseconds = 1000000.0 / 60.0;
const unsigned int LaunchOptions::kFastDrawEvery = 60;

namespace {
const int32_t kMissions = 25;
}

const char* LaunchOptions::Usage() {
    return "usage: kestrelby [--autoplay N [--variant normal|upgraded] [--fast] | --startup-profile]";
}

bool LaunchOptions::Parse(int argc, const char* const* argv, std::string& error) {
    bool variantGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (option == "--autoplay") {
            if (!value) {
                error = "--autoplay needs a mission number";
                return false;
            }
            char* end = nullptr;
            errno = 0;
            const long mission = std::strtol(value, &end, 10);
            if (errno != 0 || end == value || *end != '\0' || mission < 1 || mission > kMissions) {
                error = std::string("--autoplay takes a mission from 1 to ") + std::to_string(kMissions) +
                        ", not \"" + value + "\"";
                return false;
            }
            m_mission = static_cast<int32_t>(mission);
            ++i;
        } else if (option == "--variant") {
            if (!value || (std::strcmp(value, "normal") != 0 && std::strcmp(value, "upgraded") != 0)) {
                error = std::string("--variant takes \"normal\" or \"upgraded\"") +
                        (value ? std::string(", not \"") + value + "\"" : std::string());
                return false;
            }
            m_variant = value;
            variantGiven = true;
            ++i;
        } else if (option == "--fast") {
            m_fast = true;
        } else if (option == "--startup-profile") {
            m_startupProfile = true;
        } else {
            error = "unknown option \"" + option + "\"";
            return false;
        }
    }
    if (autoplay() && m_startupProfile) {
        error = "--startup-profile and --autoplay exclude each other";
        return false;
    }
    if (!autoplay() && (m_fast || variantGiven)) {
        error = "--variant and --fast go with --autoplay";
        return false;
    }
    return true;
}

} // namespace application
