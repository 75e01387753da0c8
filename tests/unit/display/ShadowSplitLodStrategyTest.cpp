// The depth a shadow receiver's level is chosen by: the nearest point of the
// object's box that the camera can see, measured along the view axis.
#include "unit/physics/HeadlessOgre.h"

#include <display/ShadowSplitLodStrategy.h>

#include <OGRE/OgreAxisAlignedBox.h>
#include <OGRE/OgreFrustum.h>

#include <gtest/gtest.h>

#include <memory>

namespace {

using display::ShadowSplitLodStrategy;

// At the origin, looking down -z with a 45 degree vertical field of view.
class SplitDepth : public kbtest::OgreTest {
protected:
    void SetUp() override {
        kbtest::OgreTest::SetUp();
        m_frustum.reset(new Ogre::Frustum());
        m_frustum->setFOVy(Ogre::Degree(45.0f));
        m_frustum->setAspectRatio(4.0f / 3.0f);
        m_frustum->setNearClipDistance(1.0f);
        m_frustum->setFarClipDistance(0.0f);
    }

    Ogre::Real depth(const Ogre::Vector3& min, const Ogre::Vector3& max) const {
        return ShadowSplitLodStrategy::NearestViewDepth(Ogre::AxisAlignedBox(min, max), *m_frustum);
    }

    std::unique_ptr<Ogre::Frustum> m_frustum;
};

TEST_F(SplitDepth, BoxAheadStartsAtItsNearFaceAndOneAroundTheEyeAtTheNearPlane) {
    EXPECT_NEAR(depth({-1, -1, -60}, {1, 1, -50}), 50.0f, 1e-3f);
    // Wider than the view: only the part in view counts, still its near face.
    EXPECT_NEAR(depth({-1000, -1, -200}, {1000, 1, -100}), 100.0f, 1e-3f);
    EXPECT_NEAR(depth({-100, -100, -100}, {100, 100, 100}), 1.0f, 1e-3f);
    // Beyond any far distance the far plane does not cut it away.
    EXPECT_NEAR(depth({-1, -1, -5001}, {1, 1, -5000}), 5000.0f, 0.5f);
}

// Ground under and behind the eye: its corners lie behind the camera, yet the
// nearest ground in view is where the lower edge of the view meets it.
TEST_F(SplitDepth, GroundReachingBehindTheEyeCountsFromTheLowerEdgeOfTheView) {
    const Ogre::Real expected = 10.0f / Ogre::Math::Tan(Ogre::Degree(22.5f));
    EXPECT_NEAR(depth({-1000, -11, -1000}, {1000, -10, 1000}), expected, 1e-2f);
}

TEST_F(SplitDepth, BoxOutOfViewOrUnboundedKeepsEverySplit) {
    EXPECT_EQ(depth({-1, -1, 10}, {1, 1, 20}), 0.0f);      // behind
    EXPECT_EQ(depth({500, -1, -60}, {501, 1, -50}), 0.0f);  // far to the side
    Ogre::AxisAlignedBox infinite;
    infinite.setInfinite();
    EXPECT_EQ(ShadowSplitLodStrategy::NearestViewDepth(infinite, *m_frustum), 0.0f);
    EXPECT_EQ(ShadowSplitLodStrategy::NearestViewDepth(Ogre::AxisAlignedBox(), *m_frustum), 0.0f);
}

TEST(SplitDepthLevels, LevelsAreGivenInViewDepthAndRiseWithIt) {
    ShadowSplitLodStrategy strategy;
    EXPECT_EQ(strategy.getName(), ShadowSplitLodStrategy::kName);
    const Ogre::Material::LodValueList levels = {0.0f, strategy.transformUserValue(37.0f),
                                                 strategy.transformUserValue(120.0f)};
    EXPECT_EQ(strategy.getIndex(10.0f * 10.0f, levels), 0);
    EXPECT_EQ(strategy.getIndex(40.0f * 40.0f, levels), 1);
    EXPECT_EQ(strategy.getIndex(121.0f * 121.0f, levels), 2);
}

} // namespace
