#include "tools/Vector3f.h"

#include "tools/Math.h"

#include <cmath>
#include <sstream>

namespace Tools {

bool Vector3f::operator==(const Vector3f& v) const {
    return Math::closeEnough(x, v.x) && Math::closeEnough(y, v.y) && Math::closeEnough(z, v.z);
}

bool Vector3f::operator<(const Vector3f& v) const {
    if (x != v.x)
        return x < v.x;
    if (y != v.y)
        return y < v.y;
    return z < v.z;
}

Vector3f Vector3f::cross(const Vector3f& a, const Vector3f& b) {
    return Vector3f(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

float Vector3f::magnitude() const {
    return std::sqrt(magnitudeSq());
}

void Vector3f::normalize() {
    *this *= 1.0f / magnitude();
}

std::string Vector3f::print() const {
    std::ostringstream out;
    out << "(" << x << " " << y << " " << z << ") ";
    return out.str();
}

} // namespace Tools
