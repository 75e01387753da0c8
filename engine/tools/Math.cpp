#include "tools/Math.h"

#include <cmath>

namespace Tools {

const float Math::PI = 3.1415925f;
const float Math::HALF_PI = 1.5707962f;
const float Math::EPSILON = 1e-6f;

bool Math::closeEnough(float f1, float f2) {
    const float d = (f2 == 0.0f) ? 1.0f : f2;
    return std::fabs((f1 - f2) / d) < EPSILON;
}

float Math::degreesToRadians(float degrees) {
    return degrees * PI * 0.0055555557f;
}

float Math::radiansToDegrees(float radians) {
    return radians * 180.0f * 0.3183099f;
}

} // namespace Tools
