// The sound builder's parts and its raw output, before the codec: loops that
// are periodic by construction, deterministic noise, an encoder that writes
// the same bytes every time and never leaves half a file behind.
#include <soundbuilder/Clip.h>
#include <soundbuilder/EffectKit.h>
#include <soundbuilder/Effects.h>
#include <soundbuilder/Music.h>
#include <soundbuilder/OggEncoder.h>
#include <soundbuilder/Random.h>

#include <vorbis/vorbisfile.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using soundbuilder::Clip;

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

double p99Step(const std::vector<float>& x, std::size_t from, std::size_t to) {
    std::vector<float> steps;
    for (std::size_t i = from + 1; i < to; ++i)
        steps.push_back(std::fabs(x[i] - x[i - 1]));
    const std::size_t k = steps.size() * 99 / 100;
    std::nth_element(steps.begin(), steps.begin() + static_cast<long>(k), steps.end());
    return steps[k];
}

TEST(SoundBuilderRandom, SameSeedSameSequenceWithinRange) {
    soundbuilder::Random a(42), b(42), c(43);
    bool differs = false;
    for (int i = 0; i < 1000; ++i) {
        const double va = a.uniform();
        EXPECT_EQ(va, b.uniform());
        differs = differs || va != c.uniform();
        EXPECT_GE(va, 0.0);
        EXPECT_LT(va, 1.0);
        const double r = a.range(-3.0, 5.0);
        b.range(-3.0, 5.0);
        EXPECT_GE(r, -3.0);
        EXPECT_LT(r, 5.0);
    }
    EXPECT_TRUE(differs);
}

TEST(SoundBuilderClip, SamplesPastTheEndWrapIntoTheLoop) {
    Clip clip(100, 1, 1.0); // 100 frames
    clip.setLoopStart(40);
    clip.add(99, 0, 1.0f);
    clip.add(100, 0, 2.0f);   // first frame after the end: the loop start
    clip.add(100 + 60, 0, 3.0f); // one whole loop later: the loop start again
    clip.add(-1, 0, 5.0f);    // before the start: dropped
    EXPECT_FLOAT_EQ(clip.channel(0)[99], 1.0f);
    EXPECT_FLOAT_EQ(clip.channel(0)[40], 5.0f);
    EXPECT_FLOAT_EQ(clip.channel(0)[0], 0.0f);
    EXPECT_EQ(clip.frameAt(0.5), 50u);
}

TEST(SoundBuilderClip, ProcessLoopLeavesAFilterRunningAcrossTheSeam) {
    Clip clip(1000, 1, 2.0);
    soundbuilder::Random random(7);
    for (float& s : clip.channel(0))
        s = static_cast<float>(random.bipolar());
    const std::vector<float> input = clip.channel(0);
    double y = 0.0;
    clip.processLoop(0, [&](float x, std::size_t) {
        y = 0.95 * y + 0.05 * x;
        return static_cast<float>(y);
    });
    const std::vector<float>& out = clip.channel(0);
    // The recursion holds from the last sample into the first, as everywhere else.
    EXPECT_NEAR(out[0], 0.95 * out.back() + 0.05 * input[0], 1e-6);
    EXPECT_NEAR(out[500], 0.95 * out[499] + 0.05 * input[500], 1e-6);
}

TEST(SoundBuilderClip, NormalizeAndInterleave) {
    Clip clip(10, 2, 1.0);
    clip.channel(0)[3] = 0.5f;
    clip.channel(1)[3] = -2.0f;
    clip.normalize(0.8f);
    EXPECT_FLOAT_EQ(clip.peak(), 0.8f);
    const std::vector<float> frames = clip.interleaved();
    ASSERT_EQ(frames.size(), 20u);
    EXPECT_FLOAT_EQ(frames[6], 0.2f);
    EXPECT_FLOAT_EQ(frames[7], -0.8f);
}

TEST(SoundBuilderCurve, PassesItsKeysAndEasesBetween) {
    const soundbuilder::kit::Curve curve({{1.0, 10.0}, {2.0, 20.0}, {3.0, 5.0}});
    EXPECT_DOUBLE_EQ(curve(0.0), 10.0);
    EXPECT_DOUBLE_EQ(curve(1.0), 10.0);
    EXPECT_NEAR(curve(1.5), 15.0, 1e-9);
    EXPECT_NEAR(curve(2.0), 20.0, 1e-9);
    EXPECT_DOUBLE_EQ(curve(9.0), 5.0);
    for (double t = 1.0; t < 2.0; t += 0.05)
        EXPECT_LE(curve(t), curve(t + 0.05) + 1e-9);
}

class SoundBuilderEncoder : public ::testing::Test {
protected:
    void TearDown() override {
        for (const std::string& p : m_files)
            std::remove(p.c_str());
    }
    std::string file(const std::string& name) {
        m_files.push_back(testing::TempDir() + name);
        return m_files.back();
    }
    std::vector<std::string> m_files;
};

TEST_F(SoundBuilderEncoder, WritesTheSameBytesAndDecodesToTheSameLength) {
    Clip clip(22050, 2, 1.5);
    soundbuilder::Random random(3);
    for (int c = 0; c < 2; ++c)
        for (std::size_t i = 0; i < clip.frames(); ++i)
            clip.channel(c)[i] = static_cast<float>(0.3 * std::sin(0.05 * i * (c + 1)) + 0.05 * random.bipolar());
    const soundbuilder::OggEncoder encoder(0.3f);
    const std::string a = file("kb_encoder_a.ogg");
    const std::string b = file("kb_encoder_b.ogg");
    ASSERT_TRUE(encoder.write(clip, "probe", a));
    ASSERT_TRUE(encoder.write(clip, "probe", b));
    EXPECT_EQ(readBytes(a), readBytes(b));
    EXPECT_FALSE(std::ifstream(a + ".part").good());

    OggVorbis_File vf;
    ASSERT_EQ(ov_fopen(a.c_str(), &vf), 0);
    EXPECT_EQ(ov_info(&vf, -1)->channels, 2);
    EXPECT_EQ(ov_info(&vf, -1)->rate, 22050);
    EXPECT_EQ(ov_pcm_total(&vf, -1), static_cast<ogg_int64_t>(clip.frames()));
    ov_clear(&vf);
}

TEST_F(SoundBuilderEncoder, AnUnwritablePathFailsWithoutLeavingAFile) {
    Clip clip(22050, 1, 0.2);
    const std::string path = testing::TempDir() + "kb_no_such_dir/x.ogg";
    testing::internal::CaptureStderr();
    EXPECT_FALSE(soundbuilder::OggEncoder(0.3f).write(clip, "x", path));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("soundbuilder"), std::string::npos);
    EXPECT_FALSE(std::ifstream(path).good());
    EXPECT_FALSE(std::ifstream(path + ".part").good());
}

/// The steady part of an engine sound repeats exactly: a loop length before
/// the end, the engine sounds just as it does at the end.
void expectSteadyEngine(const Clip& clip, double loopLength, double compareSeconds) {
    const std::vector<float>& x = clip.channel(0);
    const std::size_t period = static_cast<std::size_t>(std::llround(loopLength * clip.rate()));
    const std::size_t from = x.size() - static_cast<std::size_t>(compareSeconds * clip.rate());
    float worst = 0.0f;
    for (std::size_t i = from; i < x.size(); ++i)
        worst = std::max(worst, std::fabs(x[i] - x[i - period]));
    EXPECT_LT(worst, 1e-3f);
}

TEST(SoundBuilderVehicles, LoopPartsArePeriodicAndStartAtTheGamesOffsets) {
    const int rate = 22050;
    const Clip drive = soundbuilder::effects::drive(rate);
    EXPECT_EQ(drive.loopStart(), drive.frameAt(5.9));
    EXPECT_NEAR(drive.seconds(), 5.9 + 4.0, 1e-3);
    expectSteadyEngine(drive, 4.0, 0.5);

    const Clip slowdown = soundbuilder::effects::slowdown(rate);
    EXPECT_EQ(slowdown.loopStart(), slowdown.frameAt(3.9));
    EXPECT_NEAR(slowdown.seconds(), 3.9 + 2.4, 1e-3);
    expectSteadyEngine(slowdown, 2.4, 0.25);
}

TEST(SoundBuilderSounds, RawLoopsJoinWithoutAStepAndStayInRange) {
    // A low rate keeps the test quick; every generator follows the rate.
    const int rate = 16000;
    struct Made {
        const char* name;
        Clip clip;
    };
    const std::vector<Made> made = {
        {"menu", soundbuilder::music::mainMenu(rate)},
        {"level", soundbuilder::music::level(rate)},
        {"atmosphere", soundbuilder::effects::airportAtmosphere(rate)},
        {"drive", soundbuilder::effects::drive(rate)},
        {"slowdown", soundbuilder::effects::slowdown(rate)},
        {"lift", soundbuilder::effects::cateringLift(rate)},
        {"trolleys", soundbuilder::effects::cateringLoad(rate)},
        {"ratchet", soundbuilder::effects::repairClick(rate)},
        {"baggage", soundbuilder::effects::baggageLoad(rate)},
        {"pump", soundbuilder::effects::fuelPump(rate)},
    };
    for (const Made& m : made) {
        const Clip& c = m.clip;
        EXPECT_LE(c.peak(), 0.95f) << m.name;
        const std::size_t n = c.frames();
        // Loud enough to be heard under one effects volume: above -26 dB RMS.
        double sum = 0.0;
        for (int ch = 0; ch < c.channels(); ++ch)
            for (float v : c.channel(ch))
                sum += static_cast<double>(v) * v;
        EXPECT_GT(std::sqrt(sum / static_cast<double>(n * static_cast<std::size_t>(c.channels()))), 0.05) << m.name;
        const std::size_t loop = c.loopStart();
        for (int ch = 0; ch < c.channels(); ++ch) {
            const std::vector<float>& x = c.channel(ch);
            const double typical = std::max(p99Step(x, n - 2048, n), p99Step(x, loop, loop + 2048));
            EXPECT_LE(std::fabs(x[loop] - x[n - 1]), 1.5 * typical) << m.name;
        }
    }
    // Whole bars: 16 bars of 4 beats.
    EXPECT_NEAR(made[0].clip.seconds(), 16 * 4 * 60.0 / 120.0, 1e-6);
    EXPECT_NEAR(made[1].clip.seconds(), 16 * 4 * 60.0 / 125.0, 1e-6);
}

} // namespace
