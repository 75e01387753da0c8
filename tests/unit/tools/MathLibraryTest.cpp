#include <tools/Math.h>
#include <tools/Matrix4f.h>
#include <tools/Quaternion.h>
#include <tools/Vector3f.h>

#include <OGRE/OgreMatrix3.h>
#include <OGRE/OgreQuaternion.h>

#include <gtest/gtest.h>

#include <cmath>

#include <cstring>

namespace {

using Tools::Math;
using Tools::Matrix4f;
using Tools::Quaternion;
using Tools::Vector3f;

TEST(MathLibrary, ConstantsAndComparisons) {
    uint32_t bits;
    std::memcpy(&bits, &Math::PI, sizeof bits);
    EXPECT_EQ(bits, 0x40490FDAu);
    EXPECT_TRUE(Math::closeEnough(1.0f, 1.0000005f));
    EXPECT_TRUE(Math::closeEnough(0.0000005f, 0.0f));
    EXPECT_FALSE(Math::closeEnough(1.0f, 0.0f));
    EXPECT_NEAR(Math::radiansToDegrees(Math::degreesToRadians(123.0f)), 123.0f, 1e-4f);
}

TEST(MathLibrary, VectorOperations) {
    EXPECT_EQ(Vector3f(1, 2, 3).print(), "(1 2 3) ");
    EXPECT_EQ(Vector3f(0.5f, -2.25f, 1e7f).print(), "(0.5 -2.25 1e+07) ");
    EXPECT_TRUE(Vector3f::cross(Vector3f(1, 0, 0), Vector3f(0, 1, 0)) == Vector3f(0, 0, 1));
    EXPECT_FLOAT_EQ(Vector3f(3, 4, 0).magnitude(), 5.0f);
    EXPECT_TRUE(Vector3f(1, 2, 3) < Vector3f(1, 2, 4));
    EXPECT_FALSE(Vector3f(1, 3, 0) < Vector3f(1, 2, 9));
    EXPECT_FLOAT_EQ(Vector3f(1, 2, 3) * Vector3f(4, 5, 6), 32.0f);

    Vector3f v(1, 2, 3);
    v += 1.0f;
    EXPECT_TRUE(v == Vector3f(2, 3, 4));
    v -= Vector3f(2, 3, 4);
    EXPECT_TRUE(v == Vector3f(0, 0, 0));
    Vector3f n(0, 3, 4);
    n.normalize();
    EXPECT_TRUE(n == Vector3f(0, 0.6f, 0.8f));
    EXPECT_TRUE(n.inverse() == Vector3f(0, -0.6f, -0.8f));
    EXPECT_FLOAT_EQ(Vector3f(1, 1, 1).calcDistance(Vector3f(1, 4, 5)), 5.0f);
}

TEST(MathLibrary, HeadPitchRollRoundTrips) {
    Matrix4f m;
    m.fromHeadPitchRoll(0, 0, 0);
    EXPECT_TRUE(m == Matrix4f::IDENTITY);

    float h, p, r;
    m.fromHeadPitchRoll(30, 20, 10);
    m.toHeadPitchRoll(h, p, r);
    EXPECT_NEAR(h, 30.0f, 1e-3f);
    EXPECT_NEAR(p, 20.0f, 1e-3f);
    EXPECT_NEAR(r, 10.0f, 1e-3f);

    m.fromHeadPitchRoll(40, 90, 0);
    m.toHeadPitchRoll(h, p, r);
    EXPECT_EQ(h, 0.0f);

    Quaternion q;
    q.fromHeadPitchRoll(-45, 15, 70);
    q.toHeadPitchRoll(h, p, r);
    EXPECT_NEAR(h, -45.0f, 1e-3f);
    EXPECT_NEAR(p, 15.0f, 1e-3f);
    EXPECT_NEAR(r, 70.0f, 1e-3f);
}

TEST(MathLibrary, QuaternionIdentitiesAndAxisAngle) {
    EXPECT_TRUE(Quaternion::IDENTITY.toMatrix4f() == Matrix4f::IDENTITY);
    Quaternion q;
    q.fromMatrix(Matrix4f::IDENTITY);
    EXPECT_TRUE(q == Quaternion(1, 0, 0, 0));
    EXPECT_TRUE(Quaternion(2, 0, 0, 0).inverse() == Quaternion(0.5f, 0, 0, 0));

    Vector3f axis(0, 0, 0);
    float degrees = -1;
    q.fromAxisAngle(Vector3f(0, 1, 0), 90);
    q.toAxisAngle(axis, degrees);
    EXPECT_TRUE(axis == Vector3f(0, 1, 0)) << axis.print();
    EXPECT_NEAR(degrees, 90.0f, 1e-3f);
    Quaternion::IDENTITY.toAxisAngle(axis, degrees);
    EXPECT_TRUE(axis == Vector3f(1, 0, 0));
    EXPECT_EQ(degrees, 0.0f);

    // Matrix round trip through every branch of fromMatrix (trace <= 0 needs large angles).
    for (const Vector3f& a : {Vector3f(1, 0, 0), Vector3f(0, 1, 0), Vector3f(0, 0, 1)}) {
        Quaternion rot;
        rot.fromAxisAngle(a, 170);
        Quaternion back;
        back.fromMatrix(rot.toMatrix4f());
        EXPECT_TRUE(back == rot || back == rot * -1.0f) << a.print();
    }

    // The product is other (x) this in Hamilton's terms, worked out by hand:
    // (1,2,3,4)*(5,6,7,8) = (5,6,7,8) (x) (1,2,3,4) = (-60, 20, 14, 32).
    const Quaternion product = Quaternion(1, 2, 3, 4) * Quaternion(5, 6, 7, 8);
    EXPECT_TRUE(product == Quaternion(-60, 20, 14, 32))
        << product.w << " " << product.x << " " << product.y << " " << product.z;
    Quaternion inPlace(1, 2, 3, 4);
    inPlace *= Quaternion(5, 6, 7, 8);
    EXPECT_TRUE(inPlace == product);

    // Composition applies the left operand first: 90 about y, then 90 about x,
    // is what Hamilton writes as x (x) y; and 90 then 90 about y is 180 about y.
    Quaternion a, b;
    a.fromAxisAngle(Vector3f(0, 1, 0), 90);
    b.fromAxisAngle(Vector3f(1, 0, 0), 90);
    const float h = std::sqrt(0.5f);
    EXPECT_TRUE(a * b == Quaternion(0.5f, 0.5f, 0.5f, 0.5f));
    EXPECT_TRUE(a == Quaternion(h, 0, h, 0));
    EXPECT_TRUE(a * a == Quaternion(0, 0, 1, 0)); // 180 about y
}

TEST(MathLibrary, MatricesAgreeWithTheRenderingEngine) {
    // Our matrices are the transpose of the rendering engine's column-vector rotations.
    Matrix4f ours;
    ours.rotate(Vector3f(0, 0, 1), 30);
    Ogre::Matrix3 theirs;
    theirs.FromAngleAxis(Ogre::Vector3::UNIT_Z, Ogre::Degree(30));
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(ours[r][c], theirs[c][r], 1e-6f) << r << "," << c;

    Quaternion q;
    q.fromAxisAngle(Vector3f(0, 0, 1), 30);
    Ogre::Quaternion oq(Ogre::Degree(30), Ogre::Vector3::UNIT_Z);
    EXPECT_NEAR(q.w, oq.w, 1e-6f);
    EXPECT_NEAR(q.z, oq.z, 1e-6f);
    EXPECT_TRUE(q.toMatrix4f() == ours);

    // Products and element-wise operators.
    Matrix4f twice = ours * ours;
    Matrix4f sixty;
    sixty.rotate(Vector3f(0, 0, 1), 60);
    EXPECT_TRUE(twice == sixty);
    Matrix4f sum = Matrix4f::IDENTITY + Matrix4f::IDENTITY;
    EXPECT_TRUE(sum / 2.0f == Matrix4f::IDENTITY);
    Matrix4f nearly = Matrix4f::IDENTITY;
    nearly[2][2] += 1e-7f;
    EXPECT_TRUE(nearly == Matrix4f::IDENTITY);
    nearly[0][1] = 0.01f;
    EXPECT_TRUE(nearly != Matrix4f::IDENTITY);
}

} // namespace
