#pragma once

#include "base/Export.h"

namespace Tools {

// Single-precision constants and angle conversions of the math library.
class DW_API Math {
public:
    static const float PI;
    static const float HALF_PI;
    static const float EPSILON;

    // Relative comparison against f2 (absolute when f2 is 0).
    static bool closeEnough(float f1, float f2);
    static float degreesToRadians(float degrees);
    static float radiansToDegrees(float radians);
};

} // namespace Tools
