#pragma once
#include "base/Export.h"

namespace display {

// Keeps the OpenGL vendor library and its driver loaded until the process
// ends. At exit the GL dispatch library unloads them before the leak checker
// looks at the heap, and what they still reference through their own globals
// then reads as leaked with no module to name. Only the sanitizer build pins
// them; call it once a GL context exists.
class DW_API DriverPin {
public:
    // The number of libraries pinned (always 0 outside the sanitizer build).
    static int Hold();
};

}
