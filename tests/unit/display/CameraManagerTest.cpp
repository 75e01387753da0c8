// Camera bookkeeping that needs no window: the shadow split scheme and the
// manager's behaviour before a scene exists.
#include <display/cam/BaseCamera.h>
#include <display/cam/CameraManager.h>
#include <event/KeyEvent.h>
#include <event/Manager.h>

#include <OGRE/OgreDefaultHardwareBufferManager.h>
#include <OGRE/OgreLogManager.h>
#include <OGRE/OgreMaterialManager.h>
#include <OGRE/OgreRoot.h>
#include <OGRE/OgreShadowCameraSetupPSSM.h>

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

using display::cam::BaseCamera;
using display::cam::CameraManager;

// A shadow camera setup owns a frustum, which needs Ogre's root and a buffer
// manager, but no render system.
class CameraShadowSetup : public ::testing::Test {
protected:
    void SetUp() override {
        if (Ogre::Root::getSingletonPtr())
            return;
        m_log = new Ogre::LogManager();
        m_log->createLog("camera_test.log", true, false, true);
        m_root = new Ogre::Root("", "", "");
        m_buffers = new Ogre::DefaultHardwareBufferManager();
        Ogre::MaterialManager::getSingleton().initialise();
    }
    void TearDown() override {
        delete m_root;
        delete m_buffers;
        delete m_log;
    }

private:
    Ogre::LogManager* m_log = nullptr;
    Ogre::Root* m_root = nullptr;
    Ogre::DefaultHardwareBufferManager* m_buffers = nullptr;
};

TEST_F(CameraShadowSetup, SplitPointsFollowThePracticalScheme) {
    auto setup = CameraManager::CreateShadowCameraSetup();
    ASSERT_TRUE(setup);
    const auto& points = setup->getSplitPoints();
    ASSERT_EQ(points.size(), 4u);
    EXPECT_EQ(setup->getSplitCount(), 3u);
    EXPECT_FLOAT_EQ(points[0], 1.0f);
    EXPECT_NEAR(points[1], 37.27f, 0.01f);
    EXPECT_NEAR(points[2], 120.52f, 0.01f);
    EXPECT_FLOAT_EQ(points[3], 600.0f);
}

TEST_F(CameraShadowSetup, SplitPointsMatchTheFormulaInSinglePrecision) {
    auto setup = CameraManager::CreateShadowCameraSetup();
    const auto& points = setup->getSplitPoints();
    const float n = 1.0f, f = 600.0f, lambda = 0.85f;
    for (int i = 1; i < 3; ++i) {
        const float fraction = static_cast<float>(i) / 3.0f;
        const float expected = lambda * n * std::pow(f / n, fraction) +
                               (1.0f - lambda) * (n + (f - n) * fraction);
        EXPECT_FLOAT_EQ(points[static_cast<size_t>(i)], expected) << "split " << i;
    }
}

TEST_F(CameraShadowSetup, PaddingAndAdjustFactors) {
    auto setup = CameraManager::CreateShadowCameraSetup();
    EXPECT_FLOAT_EQ(setup->getSplitPadding(), 2.0f);
    EXPECT_FLOAT_EQ(setup->getOptimalAdjustFactor(0), 5.0f);
    EXPECT_FLOAT_EQ(setup->getOptimalAdjustFactor(1), 1.0f);
    EXPECT_FLOAT_EQ(setup->getOptimalAdjustFactor(2), 0.5f);
}

TEST(CameraConstants, ClipDistancesAndShadowRange) {
    EXPECT_FLOAT_EQ(BaseCamera::kNearClip, 1.0f);
    EXPECT_FLOAT_EQ(BaseCamera::kFarClip, 15000.0f);
    EXPECT_FLOAT_EQ(CameraManager::kShadowFarDistance, 600.0f);
}

// Cameras that record the manager's calls; they never create Ogre objects.
class RecordingCamera : public BaseCamera {
public:
    RecordingCamera(unsigned int id, int* destroyed) : BaseCamera(id, nullptr), m_destroyed(destroyed) {}
    ~RecordingCamera() override {
        if (m_destroyed)
            ++*m_destroyed;
    }
    void Activate(bool active) override { activations += active ? "+" : "-"; }
    void UpdateCamera(double seconds) override { updated += seconds; }

    std::string activations;
    double updated = 0.0;

private:
    int* m_destroyed;
};

TEST(CameraManagerBookkeeping, SwitchRemoveAndOwnership) {
    event::Manager events;
    int destroyed = 0;
    {
        CameraManager manager;
        EXPECT_EQ(CameraManager::getSingleton(), &manager);
        EXPECT_STREQ(manager.Name(), "CameraManager");
        EXPECT_EQ(manager.getCurrentCamera(), nullptr);
        EXPECT_FALSE(manager.shadow_camera_setup());

        auto* first = new RecordingCamera(7, &destroyed);
        auto* second = new RecordingCamera(8, &destroyed);
        manager.AddCamera(7, first);
        manager.AddCamera(8, second);

        EXPECT_FALSE(manager.SwitchCamera(99));
        EXPECT_TRUE(manager.SwitchCamera(7));
        EXPECT_EQ(manager.getCurrentCamera(), first);
        EXPECT_FALSE(manager.SwitchCamera(7));
        EXPECT_TRUE(manager.SwitchCamera(8));
        EXPECT_EQ(first->activations, "+-");
        EXPECT_EQ(second->activations, "+");

        manager.updateCamera(0.25);
        EXPECT_DOUBLE_EQ(second->updated, 0.25);
        EXPECT_DOUBLE_EQ(first->updated, 0.0);

        // The current camera cannot be removed; another one is deleted.
        manager.RemoveCamera(8);
        EXPECT_EQ(destroyed, 0);
        EXPECT_EQ(manager.getCurrentCamera(), second);
        manager.RemoveCamera(7);
        EXPECT_EQ(destroyed, 1);
        EXPECT_FALSE(manager.SwitchCamera(7));

        // An identifier in use keeps its camera; the newcomer stays with the caller.
        RecordingCamera duplicate(8, nullptr);
        manager.AddCamera(8, &duplicate);
        manager.RemoveCamera(8);
        EXPECT_EQ(manager.getCurrentCamera(), second);
        EXPECT_FALSE(manager.HandleEvent(event::KeyEvent(event::KeyEvent::KEY_PRESSED, OIS::KC_C)));
    }
    EXPECT_EQ(destroyed, 2);
    EXPECT_EQ(CameraManager::getSingleton(), nullptr);
}

} // namespace
