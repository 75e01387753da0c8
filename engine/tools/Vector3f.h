#pragma once

#include "base/Export.h"

#include <string>

namespace Tools {

class DW_API Vector3f {
public:
    float x, y, z;

    Vector3f() = default;
    Vector3f(float x, float y, float z) : x(x), y(y), z(z) {}
    void set(float nx, float ny, float nz) { x = nx; y = ny; z = nz; }

    Vector3f operator+(const Vector3f& v) const { return Vector3f(x + v.x, y + v.y, z + v.z); }
    Vector3f operator-(const Vector3f& v) const { return Vector3f(x - v.x, y - v.y, z - v.z); }
    Vector3f operator*(float s) const { return Vector3f(x * s, y * s, z * s); }
    Vector3f operator/(float s) const { return Vector3f(x / s, y / s, z / s); }
    float operator*(const Vector3f& v) const { return dot(*this, v); }

    Vector3f& operator+=(const Vector3f& v) { x += v.x; y += v.y; z += v.z; return *this; }
    Vector3f& operator-=(const Vector3f& v) { x -= v.x; y -= v.y; z -= v.z; return *this; }
    Vector3f& operator+=(float s) { x += s; y += s; z += s; return *this; }
    Vector3f& operator-=(float s) { x -= s; y -= s; z -= s; return *this; }
    Vector3f& operator*=(float s) { x *= s; y *= s; z *= s; return *this; }
    Vector3f& operator/=(float s) { x /= s; y /= s; z /= s; return *this; }

    bool operator==(const Vector3f& v) const;
    bool operator!=(const Vector3f& v) const { return !(*this == v); }
    // Exact lexicographic order: x, then y, then z.
    bool operator<(const Vector3f& v) const;

    static float dot(const Vector3f& a, const Vector3f& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
    static Vector3f cross(const Vector3f& a, const Vector3f& b);

    float magnitude() const;
    float magnitudeSq() const { return x * x + y * y + z * z; }
    // Not guarded against the zero vector.
    void normalize();
    Vector3f inverse() const { return Vector3f(-x, -y, -z); }
    float calcDistance(const Vector3f& other) const { return (*this - other).magnitude(); }
    // "(x y z) " with the stream's default formatting.
    std::string print() const;
};

} // namespace Tools
