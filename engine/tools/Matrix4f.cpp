#include "tools/Matrix4f.h"

#include "tools/Math.h"
#include "tools/Vector3f.h"

#include <cmath>

namespace Tools {

const Matrix4f Matrix4f::IDENTITY(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1);

Matrix4f::Matrix4f(float m00, float m01, float m02, float m03,
                   float m10, float m11, float m12, float m13,
                   float m20, float m21, float m22, float m23,
                   float m30, float m31, float m32, float m33)
    : m{m00, m01, m02, m03, m10, m11, m12, m13, m20, m21, m22, m23, m30, m31, m32, m33} {}

void Matrix4f::identity() {
    *this = IDENTITY;
}

Matrix4f Matrix4f::operator+(const Matrix4f& o) const { Matrix4f r(*this); return r += o; }
Matrix4f Matrix4f::operator-(const Matrix4f& o) const { Matrix4f r(*this); return r -= o; }
Matrix4f Matrix4f::operator*(float s) const { Matrix4f r(*this); return r *= s; }
Matrix4f Matrix4f::operator/(float s) const { Matrix4f r(*this); return r /= s; }

Matrix4f& Matrix4f::operator+=(const Matrix4f& o) {
    for (int i = 0; i < 16; ++i)
        m[i] += o.m[i];
    return *this;
}

Matrix4f& Matrix4f::operator-=(const Matrix4f& o) {
    for (int i = 0; i < 16; ++i)
        m[i] -= o.m[i];
    return *this;
}

Matrix4f& Matrix4f::operator*=(float s) {
    for (float& v : m)
        v *= s;
    return *this;
}

Matrix4f& Matrix4f::operator/=(float s) {
    for (float& v : m)
        v /= s;
    return *this;
}

Matrix4f Matrix4f::operator*(const Matrix4f& o) const {
    Matrix4f r;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k)
                sum += m[4 * i + k] * o.m[4 * k + j];
            r.m[4 * i + j] = sum;
        }
    }
    return r;
}

Matrix4f& Matrix4f::operator*=(const Matrix4f& o) {
    *this = *this * o;
    return *this;
}

bool Matrix4f::operator==(const Matrix4f& o) const {
    for (int i = 0; i < 16; ++i) {
        if (!Math::closeEnough(m[i], o.m[i]))
            return false;
    }
    return true;
}

void Matrix4f::fromHeadPitchRoll(float head, float pitch, float roll) {
    head = Math::degreesToRadians(head);
    pitch = Math::degreesToRadians(pitch);
    roll = Math::degreesToRadians(roll);
    const float ch = std::cos(head), sh = std::sin(head);
    const float cp = std::cos(pitch), sp = std::sin(pitch);
    const float cr = std::cos(roll), sr = std::sin(roll);

    *this = Matrix4f(ch * cr - sh * sp * sr, sh * sp * cr + ch * sr, -sh * cp, 0.0f,
                     -cp * sr, cp * cr, sp, 0.0f,
                     ch * sp * sr + sh * cr, sh * sr - ch * sp * cr, ch * cp, 0.0f,
                     0.0f, 0.0f, 0.0f, 1.0f);
}

void Matrix4f::rotate(const Vector3f& axis, float degrees) {
    const float angle = Math::degreesToRadians(degrees);
    const float c = std::cos(angle), s = std::sin(angle), t = 1.0f - c;
    const float x = axis.x, y = axis.y, z = axis.z;

    *this = Matrix4f(c + t * x * x, t * x * y + s * z, t * x * z - s * y, 0.0f,
                     t * x * y - s * z, c + t * y * y, t * y * z + s * x, 0.0f,
                     t * x * z + s * y, t * y * z - s * x, c + t * z * z, 0.0f,
                     0.0f, 0.0f, 0.0f, 1.0f);
}

void Matrix4f::toHeadPitchRoll(float& head, float& pitch, float& roll) const {
    const Matrix4f& a = *this;
    pitch = std::asin(a[1][2]);
    if (pitch < Math::HALF_PI && pitch > -Math::HALF_PI) {
        head = std::atan2(-a[0][2], a[2][2]);
        roll = std::atan2(-a[1][0], a[1][1]);
    } else if (pitch >= Math::HALF_PI) {
        head = 0.0f;
        roll = std::atan2(a[2][0], a[0][0]);
    } else {
        head = 0.0f;
        roll = -std::atan2(a[2][0], a[0][0]);
    }
    const float toDegrees = 180.0f / Math::PI;
    head *= toDegrees;
    pitch *= toDegrees;
    roll *= toDegrees;
}

} // namespace Tools
