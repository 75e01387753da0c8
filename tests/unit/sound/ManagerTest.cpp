// Volume levels, the lists of playing sounds and the mute switch.
#include "SoundTestSupport.h"

#include <sound/AudioSource.h>
#include <sound/Sound.h>

#include <memory>

namespace {

using kbtest::SoundTest;
using sound::Sound;

class SoundManager : public SoundTest {};

TEST_F(SoundManager, DefaultsWithoutSettings) {
    sound::Manager& manager = startManager(false);
    EXPECT_FLOAT_EQ(manager.GetVolume(sound::kSoundEffect), 0.2f);
    EXPECT_FLOAT_EQ(manager.GetVolume(sound::kSoundVoice), 1.0f);
    EXPECT_FLOAT_EQ(manager.GetVolume(sound::kSoundMusic), 1.0f);
    EXPECT_FALSE(manager.IsMute());
    EXPECT_FALSE(manager.device()->isMuted());
    EXPECT_EQ(sound::Manager::getSingleton(), &manager);

    // The keys were created with their defaults on first use.
    const std::string file = settingsFile();
    EXPECT_NE(file.find("sfx=\"0.200000\""), std::string::npos) << file;
    EXPECT_NE(file.find("voice=\"1.000000\""), std::string::npos) << file;
    EXPECT_NE(file.find("music=\"1.000000\""), std::string::npos) << file;
    EXPECT_NE(file.find("mute=\"false\""), std::string::npos) << file;

    // An effect plays at the effect level, music at the music level.
    Sound effect(sound::kSoundEffect, "defaults_effect", "short.ogg", false, false, false);
    Sound music(sound::kSoundMusic, "defaults_music", "long.ogg", true, true, false);
    effect.play();
    music.play();
    EXPECT_FLOAT_EQ(effect.source()->volume(), 0.2f);
    EXPECT_FLOAT_EQ(music.source()->volume(), 1.0f);
}

TEST_F(SoundManager, ReadsStoredLevelsAndMuteSwitch) {
    m_config->getFloat("Sound", "sfx", 0.2f); // creates the section the setters write into
    m_config->setFloat("Sound", "sfx", 0.7f);
    m_config->setFloat("Sound", "voice", 0.3f);
    m_config->setFloat("Sound", "music", 0.6f);
    m_config->setBool("Sound", "mute", true);

    sound::Manager& manager = startManager(false);
    EXPECT_FLOAT_EQ(manager.GetVolume(0), 0.7f);
    EXPECT_FLOAT_EQ(manager.GetVolume(1), 0.3f);
    EXPECT_FLOAT_EQ(manager.GetVolume(2), 0.6f);
    EXPECT_TRUE(manager.IsMute());
    // The stored switch is applied to the output at construction.
    EXPECT_TRUE(manager.device()->isMuted());
}

TEST_F(SoundManager, OtherKindsHaveNoLevelAndAreIgnored) {
    sound::Manager& manager = startManager(false);
    const std::string before = settingsFile();
    EXPECT_FLOAT_EQ(manager.GetVolume(3), 0.0f);
    EXPECT_FLOAT_EQ(manager.GetVolume(-1), 0.0f);
    manager.setVolume(3, 0.9f);
    manager.setVolume(-1, 0.9f);
    EXPECT_FLOAT_EQ(manager.GetVolume(3), 0.0f);
    EXPECT_FLOAT_EQ(manager.GetVolume(0), 0.2f);
    EXPECT_FLOAT_EQ(manager.GetVolume(1), 1.0f);
    EXPECT_FLOAT_EQ(manager.GetVolume(2), 1.0f);
    EXPECT_EQ(settingsFile(), before);
}

TEST_F(SoundManager, SetVolumeReachesOnlyPlayingSoundsOfItsKind) {
    sound::Manager& manager = startManager(false);
    Sound musicA(sound::kSoundMusic, "vol_music_a", "long.ogg", true, true, false);
    Sound musicB(sound::kSoundMusic, "vol_music_b", "long.ogg", true, true, false);
    Sound idleMusic(sound::kSoundMusic, "vol_music_idle", "long.ogg", true, true, false);
    Sound effect(sound::kSoundEffect, "vol_effect", "short.ogg", false, true, false);
    idleMusic.SetVolume(0.9f);
    musicA.play();
    musicB.play();
    effect.play();
    EXPECT_EQ(manager.registeredCount(sound::kSoundMusic), 2u);
    EXPECT_EQ(manager.registeredCount(sound::kSoundEffect), 1u);

    manager.setVolume(2, 0.5f);
    EXPECT_FLOAT_EQ(musicA.source()->volume(), 0.5f);
    EXPECT_FLOAT_EQ(musicB.source()->volume(), 0.5f);
    EXPECT_FLOAT_EQ(idleMusic.source()->volume(), 0.9f); // never started: untouched
    EXPECT_FLOAT_EQ(effect.source()->volume(), 0.2f);
    EXPECT_FLOAT_EQ(manager.GetVolume(2), 0.5f);
    EXPECT_NE(settingsFile().find("music=\"0.500000\""), std::string::npos);

    // A music sound started afterwards takes the new level.
    idleMusic.play();
    EXPECT_FLOAT_EQ(idleMusic.source()->volume(), 0.5f);
    EXPECT_EQ(manager.registeredCount(sound::kSoundMusic), 3u);

    manager.setVolume(0, 0.05f);
    EXPECT_FLOAT_EQ(effect.source()->volume(), 0.05f);
    EXPECT_FLOAT_EQ(musicA.source()->volume(), 0.5f);
    EXPECT_NE(settingsFile().find("sfx=\"0.050000\""), std::string::npos);
}

TEST_F(SoundManager, StoppedSoundsKeepTheirVolume) {
    sound::Manager& manager = startManager(false);
    Sound music(sound::kSoundMusic, "stopped_music", "long.ogg", true, true, false);
    music.play();
    manager.setVolume(2, 0.4f);
    music.stop();
    EXPECT_EQ(manager.registeredCount(sound::kSoundMusic), 0u);
    manager.setVolume(2, 0.8f);
    EXPECT_FLOAT_EQ(music.source()->volume(), 0.4f);
    // Its own volume stays until the next play registers it.
    music.SetVolume(0.1f);
    manager.setVolume(2, 0.7f);
    EXPECT_FLOAT_EQ(music.source()->volume(), 0.1f);
    music.play();
    EXPECT_FLOAT_EQ(music.source()->volume(), 0.7f);
}

TEST_F(SoundManager, PausedSoundsStayListed) {
    sound::Manager& manager = startManager(false);
    Sound voice(sound::kSoundVoice, "paused_voice", "long.ogg", false, true, false);
    voice.play();
    voice.pause(true);
    EXPECT_FALSE(voice.IsPlaying());
    EXPECT_EQ(manager.registeredCount(sound::kSoundVoice), 1u);
    manager.setVolume(1, 0.25f);
    EXPECT_FLOAT_EQ(voice.source()->volume(), 0.25f);
    voice.pause(false);
    EXPECT_TRUE(voice.IsPlaying());
    EXPECT_EQ(manager.registeredCount(sound::kSoundVoice), 1u);
}

TEST_F(SoundManager, PlayTwiceRegistersOnceAndDestructionUnlists) {
    sound::Manager& manager = startManager(false);
    {
        Sound effect(sound::kSoundEffect, "twice", "short.ogg", false, true, false);
        effect.play();
        effect.play();
        EXPECT_TRUE(effect.IsPlaying());
        EXPECT_EQ(manager.registeredCount(sound::kSoundEffect), 1u);
    }
    EXPECT_EQ(manager.registeredCount(sound::kSoundEffect), 0u);
    // The name is free again once its sound is gone.
    EXPECT_EQ(manager.device()->getSound("twice"), nullptr);
    Sound again(sound::kSoundEffect, "twice", "short.ogg", false, true, false);
    EXPECT_EQ(manager.device()->getSound("twice"), again.source());
    manager.setVolume(0, 0.3f); // walks the lists: nothing dangling
}

TEST_F(SoundManager, MuteAllLeavesTheFlagSetMuteSetsIt) {
    sound::Manager& manager = startManager(true);
    manager.MuteAll(true);
    EXPECT_TRUE(manager.device()->isMuted());
    EXPECT_FALSE(manager.IsMute());
    EXPECT_NE(settingsFile().find("mute=\"true\""), std::string::npos);

    manager.MuteAll(false);
    EXPECT_FALSE(manager.device()->isMuted());
    EXPECT_NE(settingsFile().find("mute=\"false\""), std::string::npos);

    manager.SetMute(true);
    EXPECT_TRUE(manager.IsMute());
    EXPECT_TRUE(manager.device()->isMuted());
    EXPECT_NE(settingsFile().find("mute=\"true\""), std::string::npos);
    manager.SetMute(false);
    EXPECT_FALSE(manager.IsMute());
    EXPECT_FALSE(manager.device()->isMuted());

    // Muting does not touch the volumes or the playing state.
    Sound music(sound::kSoundMusic, "muted_music", "long.ogg", true, true, false);
    music.play();
    manager.SetMute(true);
    EXPECT_TRUE(music.IsPlaying());
    EXPECT_FLOAT_EQ(music.source()->volume(), 1.0f);
    manager.pauseAll(true); // does nothing
    EXPECT_TRUE(music.IsPlaying());
}

TEST_F(SoundManager, CopiesShareOneSource) {
    sound::Manager& manager = startManager(false);
    auto original = std::make_unique<Sound>(sound::kSoundEffect, "copied", "short.ogg", false, true, false);
    Sound copy(*original);
    EXPECT_TRUE(copy == *original);
    EXPECT_EQ(copy.source(), original->source());
    EXPECT_EQ(copy.getType(), sound::kSoundEffect);
    Sound other(sound::kSoundMusic, "other", "long.ogg", true, true, false);
    EXPECT_FALSE(other == *original);

    original->play();
    EXPECT_TRUE(copy.IsPlaying());
    // Destroying one copy neither destroys the shared source nor unlists the other.
    copy.play();
    EXPECT_EQ(manager.registeredCount(sound::kSoundEffect), 2u);
    original.reset();
    EXPECT_EQ(manager.registeredCount(sound::kSoundEffect), 1u);
    EXPECT_TRUE(copy.IsPlaying());
    EXPECT_NE(manager.device()->getSound("copied"), nullptr);

    // Assigning a sound of another kind leaves the old kind's list first.
    copy = other;
    EXPECT_EQ(manager.registeredCount(sound::kSoundEffect), 0u);
    EXPECT_EQ(copy.getType(), sound::kSoundMusic);
    EXPECT_EQ(manager.device()->getSound("copied"), nullptr);
}

TEST_F(SoundManager, SoundsOutlivingTheManagerGoSilent) {
    startManager(true);
    Sound music(sound::kSoundMusic, "outlives", "long.ogg", true, true, true);
    music.play();
    EXPECT_TRUE(music.IsPlaying());
    delete m_manager;
    m_manager = nullptr;
    EXPECT_EQ(sound::Manager::getSingleton(), nullptr);
    EXPECT_EQ(sound::AudioDevice::getSingleton(), nullptr);
    EXPECT_TRUE(music.source()->isSilent());
    EXPECT_TRUE(music.IsPlaying());
    music.SetVolume(0.3f);
    music.stop();
    EXPECT_FALSE(music.IsPlaying());
}

TEST_F(SoundManager, SoundsWithoutAManagerAreSilentObjects) {
    ::testing::internal::CaptureStderr();
    Sound lonely(sound::kSoundEffect, "lonely", "short.ogg", false, false, false);
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("lonely"), std::string::npos);
    lonely.play();
    EXPECT_TRUE(lonely.IsPlaying());
    lonely.stop();
    EXPECT_FALSE(lonely.IsPlaying());
}

} // namespace
