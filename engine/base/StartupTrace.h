#pragma once

#include <base/Export.h>

#include <iosfwd>

namespace base {

// Where the time of a start goes: once enabled, each Mark closes the step
// since the previous mark (the first one since Enable). Disabled, a mark is
// one test of a flag, so the marks stay in the start-up path.
class DW_API StartupTrace {
public:
    static void Enable();
    static bool IsEnabled();
    // `step` must outlive the trace (a literal).
    static void Mark(const char* step);
    // One line per step: milliseconds and name; then the sum.
    static void Report(std::ostream& out);
    // The system-wide monotonic clock, in seconds: another process can subtract its own reading.
    static double MonotonicSeconds();
};

} // namespace base
