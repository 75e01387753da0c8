#include "base/StartupTrace.h"

#include <cstdio>
#include <ctime>
#include <ostream>
#include <vector>

namespace base {

namespace {

struct Step {
    const char* name;
    double seconds;
};

struct Trace {
    bool enabled = false;
    double last = 0.0;
    std::vector<Step> steps;
};

Trace& trace() {
    static Trace instance;
    return instance;
}

} // namespace

double StartupTrace::MonotonicSeconds() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

void StartupTrace::Enable() {
    Trace& t = trace();
    t.enabled = true;
    t.steps.clear();
    t.last = MonotonicSeconds();
}

bool StartupTrace::IsEnabled() {
    return trace().enabled;
}

void StartupTrace::Mark(const char* step) {
    Trace& t = trace();
    if (!t.enabled)
        return;
    const double now = MonotonicSeconds();
    t.steps.push_back({step, now - t.last});
    t.last = now;
}

void StartupTrace::Report(std::ostream& out) {
    double total = 0.0;
    char line[160];
    for (const Step& step : trace().steps) {
        std::snprintf(line, sizeof(line), "startup: %8.1f ms  %s\n", step.seconds * 1000.0, step.name);
        out << line;
        total += step.seconds;
    }
    std::snprintf(line, sizeof(line), "startup: %8.1f ms  in all\n", total * 1000.0);
    out << line;
}

} // namespace base
