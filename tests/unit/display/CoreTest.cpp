// Render core behaviour that needs no window: video-mode parsing and the
// display settings it writes.
#include <base/Config.h>
#include <display/Core.h>

#include <OGRE/OgreMaterial.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string readFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(CoreVideoModes, KeepsOnlyModesOfAtLeast1024x768InOrderWithDuplicates) {
    const auto sizes = display::Core::ParseVideoModes(
        {"800 x 600 @ 32-bit colour", "1024 x 768 @ 16-bit colour", "1024 x 768 @ 32-bit colour"});
    ASSERT_EQ(sizes.size(), 2u);
    EXPECT_EQ(sizes[0], Ogre::Vector2(1024.0f, 768.0f));
    EXPECT_EQ(sizes[1], Ogre::Vector2(1024.0f, 768.0f));
}

TEST(CoreVideoModes, ReadsTheLinuxFormatWithoutColourDepth) {
    const auto sizes = display::Core::ParseVideoModes(
        {"1920 x 1080", "640 x 480", "1280 x 1024", " 1600 x 900"});
    ASSERT_EQ(sizes.size(), 3u);
    EXPECT_EQ(sizes[0], Ogre::Vector2(1920.0f, 1080.0f));
    EXPECT_EQ(sizes[1], Ogre::Vector2(1280.0f, 1024.0f));
    EXPECT_EQ(sizes[2], Ogre::Vector2(1600.0f, 900.0f));
}

TEST(CoreVideoModes, BothSidesMustReachTheMinimum) {
    const auto sizes = display::Core::ParseVideoModes(
        {"1023 x 768", "1024 x 767", "2048 x 600", "800 x 1200", "1024 x 768"});
    ASSERT_EQ(sizes.size(), 1u);
    EXPECT_EQ(sizes[0], Ogre::Vector2(1024.0f, 768.0f));
}

TEST(CoreVideoModes, IgnoresTextsWithoutASize) {
    EXPECT_TRUE(display::Core::ParseVideoModes({}).empty());
    EXPECT_TRUE(display::Core::ParseVideoModes({"", "x", "auto", "wide x tall", "1280x1024"}).empty());
}

// A settings store in a private file, made current for the render core.
class CoreSettings : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/kb_display_XXXXXX";
        m_dir = ::mkdtemp(pattern);
        m_path = m_dir + "/config.xml";
    }
    void TearDown() override {
        std::system(("rm -rf '" + m_dir + "'").c_str());
    }

    void writeConfig(const std::string& display) {
        std::ofstream(m_path) << "<?xml version=\"1.0\" ?>\n<root>\n" << display << "\n</root>\n";
    }

    std::string m_dir;
    std::string m_path;
};

TEST_F(CoreSettings, FullscreenDefaultsToOnAndIsWrittenBack) {
    base::Config config(m_path);
    display::Core core;
    EXPECT_TRUE(core.IsFullscreen());
    EXPECT_EQ(config.getString("Display", "fullscreen", "x"), "true");
    EXPECT_EQ(display::Core::getSingleton(), &core);
    EXPECT_TRUE(core.resolutions() != nullptr);
    EXPECT_TRUE(core.resolutions()->empty());
    EXPECT_EQ(core.window_handle(), 0u);
    EXPECT_EQ(core.getRenderWindow(), nullptr);
    EXPECT_EQ(core.getSceneManager(), nullptr);
}

TEST_F(CoreSettings, SetFullscreenStoresTheLatestChoiceAndKeepsTheRunningMode) {
    writeConfig("<Display fullscreen=\"false\" width=\"800\" height=\"600\" />");
    base::Config config(m_path);
    display::Core core;
    EXPECT_FALSE(core.IsFullscreen());

    core.SetFullscreen(false);
    EXPECT_NE(readFile(m_path).find("fullscreen=\"false\""), std::string::npos);

    core.SetFullscreen(true);
    EXPECT_NE(readFile(m_path).find("fullscreen=\"true\""), std::string::npos);
    EXPECT_FALSE(core.IsFullscreen());

    // Taking the choice back within the same run stores it again, though the window never changed.
    core.SetFullscreen(false);
    EXPECT_NE(readFile(m_path).find("fullscreen=\"false\""), std::string::npos);
    EXPECT_FALSE(core.IsFullscreen());
}

TEST_F(CoreSettings, SetResolutionAlwaysStoresBothValues) {
    writeConfig("<Display fullscreen=\"false\" width=\"1024\" height=\"768\" />");
    base::Config config(m_path);
    display::Core core;
    core.SetResolution(1280, 1024);
    const std::string text = readFile(m_path);
    EXPECT_NE(text.find("width=\"1280\""), std::string::npos);
    EXPECT_NE(text.find("height=\"1024\""), std::string::npos);
    EXPECT_EQ(config.getInt("Display", "width", 0), 1280);
    EXPECT_EQ(config.getInt("Display", "height", 0), 1024);

    core.SetResolution(1024, 768);
    EXPECT_EQ(config.getInt("Display", "width", 0), 1024);
    EXPECT_EQ(config.getInt("Display", "height", 0), 768);
}

TEST_F(CoreSettings, OperationsBeforeInitDoNothing) {
    base::Config config(m_path);
    display::Core core;
    core.OnDraw(0.016);
    core.ActivateRenderWindow(true);
    core.EnablePSSM();
    EXPECT_FALSE(core.BuildPSSMMaterial(Ogre::MaterialPtr()));
    EXPECT_EQ(core.getSceneManager(), nullptr);
}

TEST_F(CoreSettings, SingletonIsClearedOnDestruction) {
    base::Config config(m_path);
    {
        display::Core core;
        EXPECT_EQ(display::Core::getSingleton(), &core);
    }
    EXPECT_EQ(display::Core::getSingleton(), nullptr);
}

} // namespace
