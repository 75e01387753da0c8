#include "application/LaunchOptions.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace application {

const double LaunchOptions::kFastStepMicroseconds = 1000000.0 / 60.0;
const unsigned int LaunchOptions::kFastDrawEvery = 60;
const unsigned int LaunchOptions::kMonkeyDrawEvery = 30;

namespace {
const int32_t kMissions = 25;
// A day of game time: more is a typing error, not a soak.
const double kMaxMonkeySeconds = 86400.0;
}

const char* LaunchOptions::Usage() {
    return "usage: kestrelby [--autoplay N [--variant normal|upgraded] [--fast] | --watch FILE [--fast] | "
           "--monkey SECONDS [--seed N] | --startup-profile]";
}

bool LaunchOptions::Parse(int argc, const char* const* argv, std::string& error) {
    bool variantGiven = false;
    bool seedGiven = false;
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
        } else if (option == "--monkey") {
            char* end = nullptr;
            errno = 0;
            const double seconds = value ? std::strtod(value, &end) : 0.0;
            if (!value || errno != 0 || end == value || *end != '\0' || !(seconds > 0.0) ||
                seconds > kMaxMonkeySeconds) {
                error = std::string("--monkey takes seconds of game time above 0 and up to ") +
                        std::to_string(static_cast<int>(kMaxMonkeySeconds)) +
                        (value ? std::string(", not \"") + value + "\"" : std::string());
                return false;
            }
            m_monkeySeconds = seconds;
            ++i;
        } else if (option == "--seed") {
            char* end = nullptr;
            errno = 0;
            const unsigned long long seed = value ? std::strtoull(value, &end, 10) : 0;
            if (!value || errno != 0 || end == value || *end != '\0' || value[0] == '-' || seed > 0xffffffffULL) {
                error = std::string("--seed takes a number from 0 to 4294967295") +
                        (value ? std::string(", not \"") + value + "\"" : std::string());
                return false;
            }
            m_seed = static_cast<uint32_t>(seed);
            seedGiven = true;
            ++i;
        } else if (option == "--watch") {
            if (!value || !value[0]) {
                error = "--watch needs a replay file";
                return false;
            }
            m_watchFile = value;
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
    if (autoplay() && watch()) {
        error = "--autoplay and --watch go one at a time";
        return false;
    }
    if (!autoplay() && variantGiven) {
        error = "--variant goes with --autoplay";
        return false;
    }
    if (!autoplay() && !watch() && m_fast) {
        error = "--fast goes with --autoplay or --watch";
        return false;
    }
    if (monkey() && (autoplay() || watch())) {
        error = "--monkey plays on its own: not with --autoplay or --watch";
        return false;
    }
    if (seedGiven && !monkey()) {
        error = "--seed goes with --monkey";
        return false;
    }
    if (m_startupProfile && (autoplay() || watch() || monkey())) {
        error = "--startup-profile runs on its own: not with --autoplay, --watch or --monkey";
        return false;
    }
    return true;
}

} // namespace application
