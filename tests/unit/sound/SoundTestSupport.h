#pragma once

// Sounds for the sound tests: Ogg Vorbis files written into a temporary folder
// that a window-less Ogre root serves as a resource location, a private
// settings file per test, and a manager with or without an audio device.

#include <base/Config.h>
#include <sound/AudioDevice.h>
#include <sound/Manager.h>
#include <sound/OggEncoder.h>

#include <OGRE/Ogre.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace kbtest {

class SoundTest : public ::testing::Test {
public:
    static constexpr const char* kGroup = "SoundTestGroup";
    static constexpr double kShortSeconds = 0.5;
    static constexpr int kShortRate = 22050;
    static constexpr double kLongSeconds = 1.6;
    static constexpr int kLongRate = 44100;

protected:
    static void SetUpTestSuite() {
        // A silent OpenAL device wherever the tests run, unless told otherwise.
        ::setenv("ALSOFT_DRIVERS", "null", 0);
        ::setenv("ALSOFT_LOGLEVEL", "0", 0);
        char pattern[] = "/tmp/kb_sound_test_XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        s_dir = pattern;

        ASSERT_TRUE(sound::OggEncoder::Write(s_dir + "/short.ogg",
                                             sound::OggEncoder::Tone(kShortSeconds, kShortRate, 440.0), 1,
                                             kShortRate));
        const std::vector<int16_t> left = sound::OggEncoder::Tone(kLongSeconds, kLongRate, 330.0);
        const std::vector<int16_t> right = sound::OggEncoder::Tone(kLongSeconds, kLongRate, 550.0);
        std::vector<int16_t> stereo;
        for (std::size_t i = 0; i < left.size(); ++i) {
            stereo.push_back(left[i]);
            stereo.push_back(right[i]);
        }
        ASSERT_TRUE(sound::OggEncoder::Write(s_dir + "/long.ogg", stereo, 2, kLongRate));
        std::ofstream(s_dir + "/bad.ogg") << "OggS? no, just some text that no decoder takes\n";

        if (!Ogre::Root::getSingletonPtr()) {
            s_log = new Ogre::LogManager();
            s_log->createLog(s_dir + "/ogre.log", true, false, false);
            s_root = new Ogre::Root("", "", "");
        }
        Ogre::ResourceGroupManager::getSingleton().addResourceLocation(s_dir, "FileSystem", kGroup);
    }

    static void TearDownTestSuite() {
        if (Ogre::ResourceGroupManager* resources = Ogre::ResourceGroupManager::getSingletonPtr())
            resources->destroyResourceGroup(kGroup);
        delete s_root;
        s_root = nullptr;
        delete s_log;
        s_log = nullptr;
        std::system(("rm -rf '" + s_dir + "'").c_str());
    }

    void SetUp() override {
        m_configPath = s_dir + "/config_" + ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".xml";
        std::remove(m_configPath.c_str());
        ::testing::internal::CaptureStderr();
        m_config = new base::Config(m_configPath);
        ::testing::internal::GetCapturedStderr();
    }

    void TearDown() override {
        delete m_manager;
        m_manager = nullptr;
        delete m_config;
        m_config = nullptr;
        ::unsetenv(sound::AudioDevice::kDeviceVariable);
    }

    // A manager as the render core makes it; without a device sounds are silent.
    sound::Manager& startManager(bool withDevice) {
        if (withDevice)
            ::unsetenv(sound::AudioDevice::kDeviceVariable);
        else
            ::setenv(sound::AudioDevice::kDeviceVariable, "none", 1);
        ::testing::internal::CaptureStderr();
        m_manager = new sound::Manager();
        m_manager->init();
        ::testing::internal::GetCapturedStderr();
        return *m_manager;
    }

    // The settings file as written on disk.
    std::string settingsFile() const {
        std::ifstream in(m_configPath);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    static inline std::string s_dir;
    static inline Ogre::LogManager* s_log = nullptr;
    static inline Ogre::Root* s_root = nullptr;

    std::string m_configPath;
    base::Config* m_config = nullptr;
    sound::Manager* m_manager = nullptr;
};

} // namespace kbtest
