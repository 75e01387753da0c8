// What keys and pad controls mean, as stored in the settings' "Controls" section.
#include "support/TempDir.h"

#include "game/GameControls.h"

#include <base/Config.h>
#include <input/Bindings.h>

#include <OISKeyboard.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using input::Bindings;

class BindingsTest : public ::testing::Test {
protected:
    void SetUp() override { m_path = m_dir.file("config.xml"); }
    // A fresh settings store and bindings on the file, as at a start of the game.
    void start() {
        m_bindings.reset();
        m_config.reset();
        testing::internal::CaptureStderr();
        m_config = std::make_unique<base::Config>(m_path);
        m_bindings = std::make_unique<Bindings>();
        game::GameControls::Register();
        m_stderr = testing::internal::GetCapturedStderr();
    }
    void TearDown() override {
        m_bindings.reset();
        m_config.reset();
    }
    std::string stored(const std::string& action) const {
        return m_config->getString("Controls", action, "missing");
    }

    TempDir m_dir;
    std::string m_path;
    std::unique_ptr<base::Config> m_config;
    std::unique_ptr<Bindings> m_bindings;
    std::string m_stderr;
};

TEST_F(BindingsTest, DefaultsAreTheGamesKeysAndAreStoredByName) {
    start();
    EXPECT_EQ(m_bindings->KeyOf(Bindings::kAccelerate), OIS::KC_UP);
    EXPECT_EQ(m_bindings->PadOf(Bindings::kAccelerate), "righttrigger");
    EXPECT_EQ(m_bindings->KeyOf(game::GameControls::kMenu), OIS::KC_ESCAPE);
    EXPECT_EQ(m_bindings->PadOf(game::GameControls::kConfirm), "a");
    EXPECT_EQ(m_bindings->bindings().size(), 13u);
    EXPECT_EQ(stored("accelerate"), "Up,righttrigger");
    EXPECT_EQ(stored("camera_hood"), "2,dpup");
    EXPECT_EQ(m_stderr.find("controls:"), std::string::npos) << m_stderr;
    // The same name twice is one action.
    EXPECT_EQ(m_bindings->Add("brake", OIS::KC_S, "b"), Bindings::kBrake);
    EXPECT_EQ(m_bindings->KeyOf(Bindings::kBrake), OIS::KC_DOWN);
}

TEST_F(BindingsTest, ARebindIsKeptAcrossStartsAndAClashSwaps) {
    start();
    m_bindings->SetKey(Bindings::kAccelerate, OIS::KC_W);
    EXPECT_EQ(stored("accelerate"), "W,righttrigger");
    // Down is the brake's: the brake takes accelerate's old key.
    m_bindings->SetKey(Bindings::kAccelerate, OIS::KC_DOWN);
    EXPECT_EQ(m_bindings->KeyOf(Bindings::kAccelerate), OIS::KC_DOWN);
    EXPECT_EQ(m_bindings->KeyOf(Bindings::kBrake), OIS::KC_W);
    m_bindings->SetPad(game::GameControls::kConfirm, "x");
    EXPECT_EQ(m_bindings->PadOf(game::GameControls::kSwitchVehicle), "a");
    // A key without a name or an unknown pad control changes nothing.
    m_bindings->SetKey(Bindings::kSteerLeft, 0xEE);
    m_bindings->SetPad(Bindings::kSteerLeft, "trackpad");
    EXPECT_EQ(m_bindings->KeyOf(Bindings::kSteerLeft), OIS::KC_LEFT);
    EXPECT_EQ(m_bindings->PadOf(Bindings::kSteerLeft), "leftx-");

    start();
    EXPECT_EQ(m_bindings->KeyOf(Bindings::kAccelerate), OIS::KC_DOWN);
    EXPECT_EQ(m_bindings->KeyOf(Bindings::kBrake), OIS::KC_W);
    EXPECT_EQ(m_bindings->ActionForKey(OIS::KC_W), Bindings::kBrake);
    EXPECT_EQ(m_bindings->ActionForPad("x"), game::GameControls::kConfirm);
    EXPECT_TRUE(Bindings::Is(Bindings::kBrake, OIS::KC_W, OIS::KC_DOWN));
    EXPECT_FALSE(Bindings::Is(Bindings::kBrake, OIS::KC_DOWN, OIS::KC_DOWN));

    m_bindings->RestoreDefaults();
    EXPECT_EQ(stored("accelerate"), "Up,righttrigger");
    EXPECT_EQ(stored("confirm"), "Space,a");
}

TEST_F(BindingsTest, ABadEntryFallsBackWithOneLine) {
    TempDir::write(m_path, "<?xml version=\"1.0\" ?>\n<root><Controls accelerate=\"Warp,righttrigger\" "
                           "brake=\"S,nosuchbutton\" steer_left=\"A\" confirm=\",,a\" /></root>\n");
    start();
    EXPECT_EQ(m_bindings->KeyOf(Bindings::kAccelerate), OIS::KC_UP);
    EXPECT_EQ(m_bindings->KeyOf(Bindings::kBrake), OIS::KC_DOWN);
    EXPECT_EQ(m_bindings->KeyOf(Bindings::kSteerLeft), OIS::KC_LEFT);
    // The comma key is a key like any other.
    EXPECT_EQ(m_bindings->KeyOf(game::GameControls::kConfirm), OIS::KC_COMMA);
    EXPECT_EQ(stored("accelerate"), "Up,righttrigger");
    size_t lines = 0;
    for (size_t at = m_stderr.find("controls: "); at != std::string::npos; at = m_stderr.find("controls: ", at + 1))
        ++lines;
    EXPECT_EQ(lines, 3u) << m_stderr;
    EXPECT_NE(m_stderr.find("\"Warp,righttrigger\" is no binding for accelerate"), std::string::npos) << m_stderr;
}

TEST(BindingsWithout, DefaultKeysAnswer) {
    ASSERT_EQ(Bindings::getSingleton(), nullptr);
    EXPECT_TRUE(Bindings::Is(Bindings::kAccelerate, OIS::KC_UP, OIS::KC_UP));
    EXPECT_FALSE(Bindings::Is(Bindings::kAccelerate, OIS::KC_W, OIS::KC_UP));
    EXPECT_EQ(game::GameControls::MiniGameKey(OIS::KC_W), OIS::KC_W);
}

TEST_F(BindingsTest, MiniGamesReadTheBoundKeysAsTheirDefaults) {
    start();
    m_bindings->SetKey(Bindings::kAccelerate, OIS::KC_W);
    EXPECT_EQ(game::GameControls::MiniGameKey(OIS::KC_W), OIS::KC_UP);
    // Up is nobody's now and stays itself; V is not a mini-game key.
    EXPECT_EQ(game::GameControls::MiniGameKey(OIS::KC_UP), OIS::KC_UP);
    EXPECT_EQ(game::GameControls::MiniGameKey(OIS::KC_V), OIS::KC_V);
}

} // namespace
