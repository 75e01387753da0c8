#pragma once

#include "base/Export.h"

namespace Tools {

class Matrix4f;
class Vector3f;

// Quaternion (w, x, y, z). a * b applies a first, then b.
class DW_API Quaternion {
public:
    static const Quaternion IDENTITY;

    float w, x, y, z;

    Quaternion() = default;
    Quaternion(float w, float x, float y, float z) : w(w), x(x), y(y), z(z) {}
    void set(float nw, float nx, float ny, float nz) { w = nw; x = nx; y = ny; z = nz; }
    void identity() { set(1.0f, 0.0f, 0.0f, 0.0f); }

    Quaternion operator+(const Quaternion& q) const { return Quaternion(w + q.w, x + q.x, y + q.y, z + q.z); }
    Quaternion operator-(const Quaternion& q) const { return Quaternion(w - q.w, x - q.x, y - q.y, z - q.z); }
    Quaternion& operator+=(const Quaternion& q) { return *this = *this + q; }
    Quaternion& operator-=(const Quaternion& q) { return *this = *this - q; }
    Quaternion operator*(float s) const { return Quaternion(w * s, x * s, y * s, z * s); }
    Quaternion operator/(float s) const { return Quaternion(w / s, x / s, y / s, z / s); }
    Quaternion& operator*=(float s) { return *this = *this * s; }
    Quaternion& operator/=(float s) { return *this = *this / s; }
    // this = other (x) this (Hamilton product).
    Quaternion& operator*=(const Quaternion& other);
    Quaternion operator*(const Quaternion& other) const;

    bool operator==(const Quaternion& q) const;
    bool operator!=(const Quaternion& q) const { return !(*this == q); }

    Quaternion conjugate() const { return Quaternion(w, -x, -y, -z); }
    float magnitude() const;
    void normalize();
    Quaternion inverse() const;

    void fromAxisAngle(const Vector3f& axis, float degrees);
    void toAxisAngle(Vector3f& axis, float& degrees) const;
    Matrix4f toMatrix4f() const;
    void fromMatrix(const Matrix4f& m);
    void fromHeadPitchRoll(float head, float pitch, float roll);
    void toHeadPitchRoll(float& head, float& pitch, float& roll) const;
};

} // namespace Tools
