// The options window with the real render core, sound manager and settings file.
#include "UiTestSupport.h"
#include "UiWorld.h"

#include "ui/OptionsWindow.h"
#include "ui/ResolutionHint.h"

#include <base/Config.h>
#include <display/Core.h>
#include <sound/AudioDevice.h>
#include <sound/ESoundType.h>
#include <sound/Manager.h>
#include <ui/Manager.h>

#include <MyGUI.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

class OptionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(UiWorld::get().ready);
        m_world = &UiWorld::get();
        m_ui = m_world->ui;
        m_sound = sound::Manager::getSingleton();
        ASSERT_NE(m_sound, nullptr);
        m_sound->setVolume(sound::kSoundMusic, 0.8f);
        m_sound->setVolume(sound::kSoundEffect, 0.2f);
        m_sound->SetMute(false);
        m_world->core->SetFullscreen(false);
        m_world->core->SetResolution(1024, 768);
        m_ui->SetLanguage("Deutsch");
    }
    void TearDown() override {
        if (ui::Dialog* hint = m_ui->GetDialog(ui::ResolutionHint::kDialogType))
            hint->exitWindow();
        m_world->advance(0.6f, 6);
        EXPECT_EQ(m_ui->DialogCount(), 0u);
    }

    ui::OptionsWindow* openOptions() {
        m_ui->toggleDialog(ui::OptionsWindow::kDialogType);
        m_world->advance(0.5f, 5);
        return static_cast<ui::OptionsWindow*>(m_ui->GetDialog(ui::OptionsWindow::kDialogType));
    }
    void press(ui::OptionsWindow* options, const char* name) {
        MyGUI::Widget* widget = options->getWindow()->findWidget(name);
        ASSERT_NE(widget, nullptr) << name;
        uitest::click(widget);
    }
    // Presses a button that closes the window and waits for its slide.
    void pressAndClose(ui::OptionsWindow* options, const char* name) {
        press(options, name);
        EXPECT_TRUE(options->IsExiting());
        m_world->advance(0.5f, 5);
        EXPECT_EQ(m_ui->GetDialog(ui::OptionsWindow::kDialogType), nullptr);
    }
    MyGUI::ScrollBar* slider(ui::OptionsWindow* options, const char* name) {
        return options->getWindow()->findWidget(name)->castType<MyGUI::ScrollBar>();
    }
    std::string text(ui::OptionsWindow* options, const char* name) {
        return options->getWindow()->findWidget(name)->castType<MyGUI::TextBox>()->getCaption().asUTF8();
    }
    std::string configFile() {
        std::ifstream in(m_world->config->path(), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }
    bool hintShown() { return m_ui->GetDialog(ui::ResolutionHint::kDialogType) != nullptr; }

    UiWorld* m_world = nullptr;
    ui::Manager* m_ui = nullptr;
    sound::Manager* m_sound = nullptr;
};

TEST_F(OptionsTest, OpensCentredWithTheRunningSettings) {
    ui::OptionsWindow* options = openOptions();
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(options->getWindow()->getPosition(), MyGUI::IntPoint(512 - 300, 384 - 310));
    EXPECT_EQ(slider(options, "slider_music")->getScrollRange(), 101u);
    EXPECT_EQ(slider(options, "slider_music")->getScrollPosition(), 80u);
    EXPECT_EQ(slider(options, "slider_sound")->getScrollPosition(), 20u);
    EXPECT_FALSE(options->getWindow()->findWidget("chk_soundoff")->castType<MyGUI::Button>()->getStateSelected());
    EXPECT_FALSE(options->getWindow()->findWidget("chk_fullscreen")->castType<MyGUI::Button>()->getStateSelected());
    // The running 1024 x 768 is shown even though the screen offers other sizes only.
    EXPECT_EQ(text(options, "txt_resolution_box"), "1024 x 768");
    ASSERT_LT(options->selected_resolution(), options->resolutions().size());
    EXPECT_EQ(text(options, "txt_lang_box"), m_ui->GetCurrentLanguage());
    pressAndClose(options, "btn_settings_reject");
}

TEST_F(OptionsTest, AcceptingWithoutChangesLeavesTheFileAsItWasAndShowsNoHint) {
    const std::string before = configFile();
    ASSERT_FALSE(before.empty());
    pressAndClose(openOptions(), "btn_settings_accept");
    EXPECT_EQ(configFile(), before);
    EXPECT_FALSE(hintShown());

    // Nor when the full-screen switch went on and off again.
    ui::OptionsWindow* options = openOptions();
    press(options, "chk_fullscreen");
    press(options, "chk_fullscreen");
    pressAndClose(options, "btn_settings_accept");
    EXPECT_EQ(configFile(), before);
    EXPECT_FALSE(hintShown());
}

TEST_F(OptionsTest, RejectAppliesNothing) {
    const std::string before = configFile();
    ui::OptionsWindow* options = openOptions();
    slider(options, "slider_music")->setScrollPosition(10);
    slider(options, "slider_sound")->setScrollPosition(90);
    press(options, "chk_soundoff");
    press(options, "chk_fullscreen");
    press(options, "btn_lang_right");
    pressAndClose(options, "btn_settings_reject");
    EXPECT_FLOAT_EQ(m_sound->GetVolume(sound::kSoundMusic), 0.8f);
    EXPECT_FLOAT_EQ(m_sound->GetVolume(sound::kSoundEffect), 0.2f);
    EXPECT_FALSE(m_sound->IsMute());
    EXPECT_EQ(configFile(), before);
    EXPECT_FALSE(hintShown());
}

TEST_F(OptionsTest, VolumesAndSoundOffActAtOnce) {
    ui::OptionsWindow* options = openOptions();
    slider(options, "slider_music")->setScrollPosition(100);
    slider(options, "slider_sound")->setScrollPosition(0);
    press(options, "chk_soundoff");
    pressAndClose(options, "btn_settings_accept");
    EXPECT_FLOAT_EQ(m_sound->GetVolume(sound::kSoundMusic), 1.0f);
    EXPECT_FLOAT_EQ(m_sound->GetVolume(sound::kSoundEffect), 0.0f);
    EXPECT_TRUE(m_sound->IsMute());
    EXPECT_TRUE(m_sound->device()->isMuted());
    EXPECT_FALSE(hintShown()); // sound needs no restart
    EXPECT_EQ(m_world->config->getBool("Sound", "mute", false), true);

    options = openOptions();
    press(options, "chk_soundoff");
    pressAndClose(options, "btn_settings_accept");
    EXPECT_FALSE(m_sound->IsMute());
    EXPECT_FALSE(m_sound->device()->isMuted());
}

TEST_F(OptionsTest, StoredVolumesOutsideTheRangeAreClamped) {
    m_sound->setVolume(sound::kSoundMusic, 1.7f);
    m_sound->setVolume(sound::kSoundEffect, -0.4f);
    ui::OptionsWindow* options = openOptions();
    EXPECT_EQ(slider(options, "slider_music")->getScrollPosition(), 100u);
    EXPECT_EQ(slider(options, "slider_sound")->getScrollPosition(), 0u);
    pressAndClose(options, "btn_settings_accept");
    EXPECT_FLOAT_EQ(m_sound->GetVolume(sound::kSoundMusic), 1.0f);
    EXPECT_FLOAT_EQ(m_sound->GetVolume(sound::kSoundEffect), 0.0f);
}

TEST_F(OptionsTest, AnotherLanguageIsStoredForTheNextStartWithTheHint) {
    ASSERT_EQ(m_ui->GetCurrentLanguage(), "Deutsch");
    ui::OptionsWindow* options = openOptions();
    press(options, "btn_lang_left"); // already the first
    EXPECT_EQ(text(options, "txt_lang_box"), "Deutsch");
    press(options, "btn_lang_right");
    EXPECT_EQ(text(options, "txt_lang_box"), "English");
    press(options, "btn_lang_right"); // already the last
    EXPECT_EQ(text(options, "txt_lang_box"), "English");
    pressAndClose(options, "btn_settings_accept");
    EXPECT_TRUE(hintShown());
    EXPECT_EQ(m_world->config->getString("ui", "language", ""), "English");
    EXPECT_EQ(m_ui->GetCurrentLanguage(), "Deutsch");
}

TEST_F(OptionsTest, TheAcceptedScreenModeIsTheStoredOne) {
    ui::OptionsWindow* options = openOptions();
    press(options, "chk_fullscreen");
    pressAndClose(options, "btn_settings_accept");
    EXPECT_TRUE(hintShown());
    EXPECT_TRUE(m_world->config->getBool("Display", "fullscreen", false));
    m_ui->GetDialog(ui::ResolutionHint::kDialogType)->exitWindow();
    m_world->advance(0.5f, 5);

    // Reopened, the window shows the running mode (a window) again; accepting
    // that stores it, although the running mode never changed.
    options = openOptions();
    EXPECT_FALSE(options->getWindow()->findWidget("chk_fullscreen")->castType<MyGUI::Button>()->getStateSelected());
    pressAndClose(options, "btn_settings_accept");
    EXPECT_FALSE(m_world->config->getBool("Display", "fullscreen", true));
    EXPECT_FALSE(hintShown());
}

TEST_F(OptionsTest, ResolutionStepsStopAtTheEndsAndAnotherSizeIsStored) {
    ui::OptionsWindow* options = openOptions();
    const size_t count = options->resolutions().size();
    ASSERT_GE(count, 1u);
    for (size_t i = 0; i < count + 1; ++i)
        press(options, "btn_res_left");
    EXPECT_EQ(options->selected_resolution(), 0u);
    for (size_t i = 0; i < count + 1; ++i)
        press(options, "btn_res_right");
    EXPECT_EQ(options->selected_resolution(), count - 1);
    const Ogre::Vector2 last = options->resolutions().back();
    EXPECT_EQ(text(options, "txt_resolution_box"), ui::OptionsWindow::ResolutionText(last));
    pressAndClose(options, "btn_settings_accept");
    EXPECT_EQ(m_world->config->getInt("Display", "width", 0), static_cast<int>(last.x));
    EXPECT_EQ(m_world->config->getInt("Display", "height", 0), static_cast<int>(last.y));
    EXPECT_EQ(hintShown(), !(last.x == 1024.f && last.y == 768.f));
}

} // namespace
