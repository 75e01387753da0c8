#include "tools/Quaternion.h"

#include "tools/Math.h"
#include "tools/Matrix4f.h"
#include "tools/Vector3f.h"

#include <cmath>

namespace Tools {

const Quaternion Quaternion::IDENTITY(1.0f, 0.0f, 0.0f, 0.0f);

Quaternion Quaternion::operator*(const Quaternion& other) const {
    const float w1 = w, x1 = x, y1 = y, z1 = z;
    const float w2 = other.w, x2 = other.x, y2 = other.y, z2 = other.z;
    return Quaternion(w1 * w2 - x1 * x2 - y1 * y2 - z1 * z2,
                      w1 * x2 + x1 * w2 + y2 * z1 - y1 * z2,
                      w1 * y2 + y1 * w2 + x1 * z2 - x2 * z1,
                      w1 * z2 + z1 * w2 + x2 * y1 - x1 * y2);
}

Quaternion& Quaternion::operator*=(const Quaternion& other) {
    return *this = *this * other;
}

bool Quaternion::operator==(const Quaternion& q) const {
    return Math::closeEnough(w, q.w) && Math::closeEnough(x, q.x) && Math::closeEnough(y, q.y) &&
           Math::closeEnough(z, q.z);
}

float Quaternion::magnitude() const {
    return std::sqrt(w * w + x * x + y * y + z * z);
}

void Quaternion::normalize() {
    *this *= 1.0f / magnitude();
}

Quaternion Quaternion::inverse() const {
    const float magSq = w * w + x * x + y * y + z * z;
    return conjugate() / magSq;
}

void Quaternion::fromAxisAngle(const Vector3f& axis, float degrees) {
    const float half = Math::degreesToRadians(degrees) / 2.0f;
    const float s = std::sin(half);
    set(std::cos(half), axis.x * s, axis.y * s, axis.z * s);
}

void Quaternion::toAxisAngle(Vector3f& axis, float& degrees) const {
    const float s = 1.0f - w * w;
    if (s <= 0.0f) {
        axis.set(1.0f, 0.0f, 0.0f);
        degrees = 0.0f;
        return;
    }
    const float invLen = 1.0f / std::sqrt(s);
    axis.set(x * invLen, y * invLen, z * invLen);
    degrees = Math::radiansToDegrees(2.0f * std::acos(w));
}

Matrix4f Quaternion::toMatrix4f() const {
    return Matrix4f(1 - 2 * y * y - 2 * z * z, 2 * x * y + 2 * w * z, 2 * x * z - 2 * w * y, 0,
                    2 * x * y - 2 * w * z, 1 - 2 * x * x - 2 * z * z, 2 * y * z + 2 * w * x, 0,
                    2 * x * z + 2 * w * y, 2 * y * z - 2 * w * x, 1 - 2 * x * x - 2 * y * y, 0,
                    0, 0, 0, 1);
}

void Quaternion::fromMatrix(const Matrix4f& m) {
    const float trace = m[0][0] + m[1][1] + m[2][2];
    if (trace > 0.0f) {
        const float s = std::sqrt(trace + 1.0f);
        w = s / 2.0f;
        const float t = 0.5f / s;
        x = (m[1][2] - m[2][1]) * t;
        y = (m[2][0] - m[0][2]) * t;
        z = (m[0][1] - m[1][0]) * t;
        return;
    }
    int i = 0;
    if (m[1][1] > m[0][0])
        i = 1;
    if (m[2][2] > m[i][i])
        i = 2;
    const int j = (i + 1) % 3;
    const int k = (j + 1) % 3;
    float* q[3] = {&x, &y, &z};
    const float s = std::sqrt(m[i][i] - (m[j][j] + m[k][k]) + 1.0f);
    *q[i] = s / 2.0f;
    const float t = 0.5f / s;
    w = (m[j][k] - m[k][j]) * t;
    *q[j] = (m[j][i] + m[i][j]) * t;
    *q[k] = (m[k][i] + m[i][k]) * t;
}

void Quaternion::fromHeadPitchRoll(float head, float pitch, float roll) {
    Matrix4f m;
    m.fromHeadPitchRoll(head, pitch, roll);
    fromMatrix(m);
}

void Quaternion::toHeadPitchRoll(float& head, float& pitch, float& roll) const {
    toMatrix4f().toHeadPitchRoll(head, pitch, roll);
}

} // namespace Tools
