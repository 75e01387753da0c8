#include "support/TempDir.h"

#include <base/Config.h>
#include <base/UserData.h>
#include <file/System.h>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

TEST(UserDirectory, FollowsXdgDataHome) {
    TempDir dir;
    const char* saved = std::getenv("XDG_DATA_HOME");
    const std::string previous = saved ? saved : "";
    ::setenv("XDG_DATA_HOME", (dir.path() + "/deep/data").c_str(), 1);
    file::System::set_product_name("kestrelby");
    const std::string home = file::System::GetUserDataDirectory();
    EXPECT_EQ(home, dir.path() + "/deep/data/brightmoor/kestrelby/");
    TempDir::write(home + "probe", "x");
    EXPECT_EQ(TempDir::read(home + "probe"), "x");
    ::setenv("XDG_DATA_HOME", previous.c_str(), 1);
}

TEST(Config, FirstStartWritesDefaults) {
    TempDir dir;
    const std::string path = dir.file("config.xml");
    {
        testing::internal::CaptureStderr();
        base::Config config(path);
        EXPECT_EQ(base::Config::getSingleton(), &config);
        EXPECT_FLOAT_EQ(config.getFloat("Sound", "sfx", 0.2f), 0.2f);
        EXPECT_TRUE(config.getBool("Display", "fullscreen", true));
        EXPECT_EQ(config.getInt("Display", "width", 1024), 1024);
        EXPECT_EQ(config.getString("ui", "language", "Deutsch"), "Deutsch");
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_NE(err.find("Config::getString - no such key - creating one"), std::string::npos);
        EXPECT_EQ(err.find("getBool"), std::string::npos); // the settings store repairs booleans silently
        // Written through at once, before the store goes away.
        const std::string text = TempDir::read(path);
        EXPECT_NE(text.find("<Sound sfx=\"0.200000\" />"), std::string::npos) << text;
        EXPECT_NE(text.find("fullscreen=\"true\""), std::string::npos) << text;
    }
    EXPECT_EQ(base::Config::getSingleton(), nullptr);
    base::Config reread(path);
    testing::internal::CaptureStderr();
    EXPECT_EQ(reread.getInt("Display", "width", 1), 1024);
    EXPECT_TRUE(testing::internal::GetCapturedStderr().empty());
}

TEST(Config, RepairsAndParsesValues) {
    TempDir dir;
    const std::string path = dir.file("config.xml");
    TempDir::write(path, R"(<root><Display width="12abc" height="abc" fullscreen="1" title=""/></root>)");
    base::Config config(path);
    EXPECT_EQ(config.getInt("Display", "width", 800), 12);
    EXPECT_EQ(config.getInt("Display", "height", 600), 0);
    EXPECT_FALSE(config.getBool("Display", "fullscreen", false));
    EXPECT_NE(TempDir::read(path).find("fullscreen=\"false\""), std::string::npos);
    testing::internal::CaptureStderr();
    EXPECT_EQ(config.getString("Display", "title", "kb"), "kb");
    EXPECT_FALSE(testing::internal::GetCapturedStderr().empty());
}

TEST(Config, SettersOnMissingSections) {
    TempDir dir;
    const std::string path = dir.file("config.xml");
    base::Config config(path);
    const std::string before = TempDir::read(path);
    config.setString("Nowhere", "k", "v");
    config.setBool("Nowhere", "b", true);
    EXPECT_EQ(TempDir::read(path), before);
    EXPECT_EQ(TempDir::read(path).find("Nowhere"), std::string::npos);

    config.getInt("Sound", "x", 0);
    config.setFloat("Sound", "music", 0.5f);
    config.setBool("Sound", "mute", true);
    const std::string text = TempDir::read(path);
    EXPECT_NE(text.find("music=\"0.500000\""), std::string::npos);
    EXPECT_NE(text.find("mute=\"true\""), std::string::npos);
}

TEST(UserData, CreatesSectionsForBooleansAndReportsRepairs) {
    TempDir dir;
    const std::string path = dir.file("user_data.xml");
    base::UserData data(path);
    data.SetBool("Vehicles", "upgraded", true);
    EXPECT_TRUE(data.GetBool("Vehicles", "upgraded", false));
    data.SetString("Missing", "k", "v"); // strings never create a section
    EXPECT_EQ(TempDir::read(path).find("Missing"), std::string::npos);

    testing::internal::CaptureStderr();
    EXPECT_FALSE(data.GetBool("Vehicles", "other", false));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("UserData::getBool - no such key - creating one"),
              std::string::npos);
    data.SetInt("Vehicles", "count", 3);
    EXPECT_EQ(data.GetInt("Vehicles", "count", 0), 3);
}

TEST(UserData, CorruptFileIsKeptNotLost) {
    TempDir dir;
    const std::string path = dir.file("user_data.xml");
    const std::string broken = "<root><Mission m1=\"1500\"><oops></root>";
    TempDir::write(path, broken);
    testing::internal::CaptureStderr();
    {
        base::UserData data(path);
        data.SetInt("Mission", "m2", 10);
    }
    EXPECT_NE(testing::internal::GetCapturedStderr().find("user_data.xml.corrupt.1"), std::string::npos);
    EXPECT_EQ(TempDir::read(path + ".corrupt.1"), broken);
    // The store still writes a readable file.
    base::UserData again(path);
    testing::internal::CaptureStderr();
    again.GetInt("Mission", "m2", 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr().find("Can't load"), std::string::npos);
}

} // namespace
