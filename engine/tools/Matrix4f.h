#pragma once

#include "base/Export.h"

namespace Tools {

class Vector3f;

// 4x4 matrix stored row by row: element (r, c) is m[4 * r + c]. Angles in degrees;
// head turns about y, pitch about x, roll about z.
class DW_API Matrix4f {
public:
    static const Matrix4f IDENTITY;

    float m[16];

    Matrix4f() = default;
    Matrix4f(float m00, float m01, float m02, float m03,
             float m10, float m11, float m12, float m13,
             float m20, float m21, float m22, float m23,
             float m30, float m31, float m32, float m33);

    void identity();

    float* operator[](int row) { return &m[4 * row]; }
    const float* operator[](int row) const { return &m[4 * row]; }

    Matrix4f operator+(const Matrix4f& o) const;
    Matrix4f operator-(const Matrix4f& o) const;
    Matrix4f& operator+=(const Matrix4f& o);
    Matrix4f& operator-=(const Matrix4f& o);
    Matrix4f operator*(float s) const;
    Matrix4f operator/(float s) const;
    Matrix4f& operator*=(float s);
    Matrix4f& operator/=(float s);
    Matrix4f operator*(const Matrix4f& o) const;
    Matrix4f& operator*=(const Matrix4f& o);

    bool operator==(const Matrix4f& o) const;
    bool operator!=(const Matrix4f& o) const { return !(*this == o); }

    void fromHeadPitchRoll(float head, float pitch, float roll);
    // Rotation about an axis (not normalised here).
    void rotate(const Vector3f& axis, float degrees);
    void toHeadPitchRoll(float& head, float& pitch, float& roll) const;
};

} // namespace Tools
