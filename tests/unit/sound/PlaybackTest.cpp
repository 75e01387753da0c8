// The playback layer under the sounds: decoding, silent playback without a
// device, real playback on OpenAL's null device, looping, loop offsets,
// streaming and the failures that give silent sounds.
#include "SoundTestSupport.h"

#include <sound/AudioSource.h>
#include <sound/OggDecoder.h>
#include <sound/Sound.h>

#include <algorithm>
#include <chrono>
#include <thread>

namespace {

using kbtest::SoundTest;
using sound::AudioSource;
using sound::Sound;

class SoundPlayback : public SoundTest {
protected:
    // Updates like the main loop does, for `seconds` of real time, calling
    // `each` after every update. Stops early when `each` returns false.
    template <typename F>
    void run(double seconds, F each) {
        using Clock = std::chrono::steady_clock;
        const auto start = Clock::now();
        auto last = start;
        while (std::chrono::duration<double>(Clock::now() - start).count() < seconds) {
            std::this_thread::sleep_for(std::chrono::milliseconds(15));
            const auto now = Clock::now();
            m_manager->update(std::chrono::duration<double>(now - last).count());
            last = now;
            if (!each())
                return;
        }
    }

    static double elapsedSince(std::chrono::steady_clock::time_point start) {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
};

TEST_F(SoundPlayback, DecodesTheGeneratedFiles) {
    Ogre::DataStreamPtr data = Ogre::ResourceGroupManager::getSingleton().openResource("long.ogg", kGroup);
    sound::OggDecoder decoder;
    ASSERT_TRUE(decoder.open(data));
    EXPECT_EQ(decoder.channels(), 2);
    EXPECT_EQ(decoder.rate(), kLongRate);
    EXPECT_EQ(decoder.totalFrames(), static_cast<int64_t>(kLongSeconds * kLongRate));
    EXPECT_NEAR(decoder.duration(), kLongSeconds, 1e-6);
    const std::vector<int16_t> all = decoder.readAll();
    EXPECT_EQ(all.size(), static_cast<std::size_t>(decoder.totalFrames()) * 2);
    // A tone of amplitude 0.5 survives the encoding roughly.
    const auto peak = *std::max_element(all.begin(), all.end());
    EXPECT_GT(peak, 12000);
    EXPECT_LT(peak, 20000);

    // Reading past the end gives nothing; seeking back gives the same samples.
    int16_t frame[2];
    EXPECT_EQ(decoder.read(frame, 1), 0u);
    ASSERT_TRUE(decoder.seekFrame(1000));
    std::vector<int16_t> again(200);
    EXPECT_EQ(decoder.read(again.data(), 100), 100u);
    EXPECT_TRUE(std::equal(again.begin(), again.end(), all.begin() + 2000));

    sound::OggDecoder bad;
    EXPECT_FALSE(bad.open(Ogre::ResourceGroupManager::getSingleton().openResource("bad.ogg", kGroup)));
    EXPECT_FALSE(bad.isOpen());
    EXPECT_EQ(bad.read(frame, 1), 0u);
}

TEST_F(SoundPlayback, SilentPlaybackKeepsStateAndStopsAtTheEnd) {
    startManager(false);
    EXPECT_FALSE(m_manager->device()->hasDevice());
    Sound effect(sound::kSoundEffect, "silent_once", "short.ogg", false, false, false);
    EXPECT_FALSE(effect.IsPlaying());
    EXPECT_NEAR(effect.source()->duration(), kShortSeconds, 1e-6);

    effect.play();
    EXPECT_TRUE(effect.IsPlaying());
    EXPECT_TRUE(effect.source()->isSilent());
    m_manager->update(0.3);
    EXPECT_TRUE(effect.IsPlaying());
    EXPECT_NEAR(effect.source()->playPosition(), 0.3, 1e-9);

    // Paused time does not count.
    effect.pause(true);
    EXPECT_FALSE(effect.IsPlaying());
    EXPECT_TRUE(effect.source()->isPaused());
    m_manager->update(5.0);
    EXPECT_NEAR(effect.source()->playPosition(), 0.3, 1e-9);
    effect.pause(false);
    EXPECT_TRUE(effect.IsPlaying());

    m_manager->update(0.15);
    EXPECT_TRUE(effect.IsPlaying());
    m_manager->update(0.1);
    EXPECT_FALSE(effect.IsPlaying());
    EXPECT_EQ(m_manager->registeredCount(sound::kSoundEffect), 1u); // only stop() unlists

    // Playing again starts from the beginning.
    effect.play();
    m_manager->update(0.2);
    EXPECT_NEAR(effect.source()->playPosition(), 0.2, 1e-9);
    effect.stop();
    EXPECT_FALSE(effect.IsPlaying());
    EXPECT_EQ(effect.source()->playPosition(), 0.0);
    EXPECT_EQ(m_manager->registeredCount(sound::kSoundEffect), 0u);
}

TEST_F(SoundPlayback, SilentLoopJumpsBackToTheLoopOffset) {
    startManager(false);
    Sound drive(sound::kSoundEffect, "silent_loop", "long.ogg", true, true, false);
    drive.SetLoopOffset(1.0f);
    drive.play();
    m_manager->update(1.5);
    EXPECT_NEAR(drive.source()->playPosition(), 1.5, 1e-9);
    m_manager->update(0.2); // 1.7: 0.1 past the end, so 0.1 past the offset
    EXPECT_TRUE(drive.IsPlaying());
    EXPECT_NEAR(drive.source()->playPosition(), 1.1, 1e-6);
    m_manager->update(1.3); // 2.4 into the loop of 0.6: twice round, 0.2 in
    EXPECT_NEAR(drive.source()->playPosition(), 1.2, 1e-6);

    // Without an offset the loop restarts at the beginning.
    Sound plain(sound::kSoundEffect, "silent_plain_loop", "short.ogg", false, true, false);
    plain.play();
    m_manager->update(0.6);
    EXPECT_TRUE(plain.IsPlaying());
    EXPECT_NEAR(plain.source()->playPosition(), 0.1, 1e-6);

    // An offset past the end loops the whole sound.
    plain.SetLoopOffset(7.0f);
    m_manager->update(0.5);
    EXPECT_NEAR(plain.source()->playPosition(), 0.1, 1e-6);
}

TEST_F(SoundPlayback, FailuresGiveSilentSoundsWithOneLine) {
    startManager(true);
    const auto oneLineNaming = [](const std::string& err, const std::string& what) {
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        EXPECT_NE(err.find(what), std::string::npos) << err;
    };

    ::testing::internal::CaptureStderr();
    Sound missing(sound::kSoundEffect, "missing", "no_such_file.ogg", false, false, true);
    oneLineNaming(::testing::internal::GetCapturedStderr(), "no_such_file.ogg");

    ::testing::internal::CaptureStderr();
    Sound bad(sound::kSoundMusic, "bad", "bad.ogg", true, true, true);
    oneLineNaming(::testing::internal::GetCapturedStderr(), "bad.ogg");

    Sound first(sound::kSoundEffect, "taken", "short.ogg", false, false, false);
    ::testing::internal::CaptureStderr();
    Sound second(sound::kSoundEffect, "taken", "long.ogg", false, false, false);
    oneLineNaming(::testing::internal::GetCapturedStderr(), "taken");
    EXPECT_EQ(m_manager->device()->getSound("taken"), first.source());
    EXPECT_NEAR(first.source()->duration(), kShortSeconds, 1e-6);

    // All of them still behave: an empty sound ends at the next update unless it loops.
    for (Sound* s : {&missing, &bad, &second}) {
        s->play();
        EXPECT_TRUE(s->IsPlaying());
        EXPECT_TRUE(s->source()->isSilent());
    }
    m_manager->setVolume(0, 0.6f);
    EXPECT_FLOAT_EQ(second.source()->volume(), 0.6f);
    m_manager->update(0.01);
    EXPECT_FALSE(missing.IsPlaying());
    EXPECT_TRUE(bad.IsPlaying());
    EXPECT_FALSE(second.IsPlaying());
    bad.stop();
    EXPECT_FALSE(bad.IsPlaying());
}

TEST_F(SoundPlayback, DeviceOpensOnceAndHonoursTheSourceLimit) {
    ::setenv(sound::AudioDevice::kDeviceVariable, "none", 1);
    {
        sound::AudioDevice device;
        EXPECT_FALSE(device.init("", 4));
        EXPECT_TRUE(device.isInitialised());
        EXPECT_FALSE(device.hasDevice());
        EXPECT_EQ(device.acquireSource(), 0u);
    }
    ::unsetenv(sound::AudioDevice::kDeviceVariable);
    sound::AudioDevice device;
    if (!device.init("", 1))
        GTEST_SKIP() << "OpenAL opened no device (ALSOFT_DRIVERS=null was overridden)";
    // A second initialisation leaves the first in place, limit included.
    EXPECT_TRUE(device.init("", 100));
    EXPECT_TRUE(device.hasDevice());

    auto a = device.createSound("limit_a", "short.ogg", false, false, false);
    auto b = device.createSound("limit_b", "short.ogg", false, false, false);
    a->play();
    ::testing::internal::CaptureStderr();
    b->play();
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("all 1 sound sources in use"), std::string::npos) << err;
    EXPECT_FALSE(a->isSilent());
    EXPECT_TRUE(b->isSilent());
    EXPECT_EQ(device.sourcesInUse(), 1u);
    EXPECT_TRUE(b->isPlaying());
    device.update(0.6);
    EXPECT_FALSE(b->isPlaying());

    // Once a source is free again, the next start gets it.
    a.reset();
    EXPECT_EQ(device.sourcesInUse(), 0u);
    EXPECT_EQ(device.soundCount(), 1u);
    b->play();
    EXPECT_FALSE(b->isSilent());
    EXPECT_EQ(device.sourcesInUse(), 1u);
}

TEST_F(SoundPlayback, PlaysToTheEndOnADevice) {
    startManager(true);
    if (!m_manager->device()->hasDevice())
        GTEST_SKIP() << "OpenAL opened no device (ALSOFT_DRIVERS=null was overridden)";
    Sound effect(sound::kSoundEffect, "device_once", "short.ogg", false, false, false);
    const auto start = std::chrono::steady_clock::now();
    effect.play();
    EXPECT_FALSE(effect.source()->isSilent());
    EXPECT_TRUE(effect.IsPlaying());
    double lastPosition = 0.0;
    bool forward = true;
    run(3.0, [&] {
        const double position = effect.source()->playPosition();
        if (effect.IsPlaying()) {
            forward = forward && position + 1e-9 >= lastPosition;
            lastPosition = position;
        }
        return effect.IsPlaying();
    });
    const double took = elapsedSince(start);
    EXPECT_FALSE(effect.IsPlaying());
    EXPECT_TRUE(forward);
    EXPECT_GT(lastPosition, 0.3);
    // It took about as long as the sound lasts (the null device plays in real time).
    EXPECT_GT(took, kShortSeconds * 0.8);
    EXPECT_LT(took, kShortSeconds + 2.0);

    // It plays again from the start after ending.
    effect.play();
    EXPECT_TRUE(effect.IsPlaying());
    EXPECT_LT(effect.source()->playPosition(), 0.1);

    // Also when it ran out since the last update: the request is not lost.
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    EXPECT_TRUE(effect.IsPlaying()); // nobody updated yet
    effect.play();
    run(0.2, [] { return true; });
    EXPECT_TRUE(effect.IsPlaying());
    EXPECT_GT(effect.source()->playPosition(), 0.1);
    effect.stop();
}

TEST_F(SoundPlayback, LoopsJumpBackToTheOffsetOnADevice) {
    startManager(true);
    if (!m_manager->device()->hasDevice())
        GTEST_SKIP() << "OpenAL opened no device (ALSOFT_DRIVERS=null was overridden)";
    // 1.6 s of sound through a ring of 1 s: it has to be refilled while playing.
    // One copy is read from the file while it plays, the other from memory.
    Sound streamed(sound::kSoundEffect, "device_loop_streamed", "long.ogg", true, true, true);
    Sound loaded(sound::kSoundEffect, "device_loop_loaded", "long.ogg", false, true, false);
    struct Watch {
        Sound* sound;
        double maxPosition = 0.0, previous = 0.0, minAfterWrap = 10.0;
        int wraps = 0;
    };
    Watch watches[] = {{&streamed}, {&loaded}};
    for (Watch& w : watches) {
        w.sound->SetLoopOffset(1.2f);
        w.sound->play();
        ASSERT_FALSE(w.sound->source()->isSilent());
    }
    run(2.6, [&] {
        for (Watch& w : watches) {
            const double position = w.sound->source()->playPosition();
            if (position + 0.05 < w.previous)
                ++w.wraps;
            else if (w.wraps > 0)
                w.minAfterWrap = std::min(w.minAfterWrap, position);
            w.maxPosition = std::max(w.maxPosition, position);
            w.previous = position;
        }
        return true;
    });
    for (Watch& w : watches) {
        SCOPED_TRACE(w.sound->source()->name());
        EXPECT_TRUE(w.sound->IsPlaying());
        EXPECT_GT(w.maxPosition, 1.5); // beyond the first fill of the ring
        EXPECT_LE(w.maxPosition, kLongSeconds);
        EXPECT_GE(w.wraps, 1);
        // Every wrap lands at the offset, never at the start.
        EXPECT_GE(w.minAfterWrap, 1.2 - 1e-6);
    }

    // Pausing holds the position.
    streamed.pause(true);
    const double held = streamed.source()->playPosition();
    run(0.2, [] { return true; });
    EXPECT_NEAR(streamed.source()->playPosition(), held, 1e-6);
    streamed.pause(false);
    EXPECT_TRUE(streamed.IsPlaying());
    streamed.stop();
    EXPECT_FALSE(streamed.IsPlaying());
    EXPECT_EQ(streamed.source()->playPosition(), 0.0);
}

TEST_F(SoundPlayback, FullyLoadedLoopWithoutOffsetRestartsAtTheStart) {
    startManager(true);
    if (!m_manager->device()->hasDevice())
        GTEST_SKIP() << "OpenAL opened no device (ALSOFT_DRIVERS=null was overridden)";
    Sound pump(sound::kSoundEffect, "device_plain_loop", "short.ogg", false, true, false);
    pump.play();
    double previous = 0.0, lowestAfterWrap = 10.0;
    int wraps = 0;
    run(1.8, [&] {
        const double position = pump.source()->playPosition();
        if (position + 0.05 < previous) {
            ++wraps;
            lowestAfterWrap = std::min(lowestAfterWrap, position);
        }
        previous = position;
        return true;
    });
    EXPECT_TRUE(pump.IsPlaying());
    EXPECT_GE(wraps, 2);
    EXPECT_LT(lowestAfterWrap, 0.2);
}

} // namespace
