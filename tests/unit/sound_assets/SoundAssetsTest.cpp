// Decodes every generated sound the game loads and checks that it is there,
// in the expected format, long enough, audible and loops without a click.
#include <vorbis/vorbisfile.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Expected {
    const char* path;       // relative to the binary folder
    int channels;
    double minSeconds;
    double loopStart;       // where a looping play jumps back to
};

const Expected kSounds[] = {
    {"../assets/music/KB_Mainmenu.ogg", 2, 30.0, 0.0},
    {"../assets/music/KB_Level.ogg", 2, 30.0, 0.0},
    {"../assets/sfx/atmo_airport.ogg", 1, 10.0, 0.0},
    // The vehicle sounds play their start once, then loop from an offset.
    {"../assets/sfx/drive.ogg", 1, 5.9 + 1.0, 5.9},
    {"../assets/sfx/slowdown.ogg", 1, 3.9 + 1.0, 3.9},
    {"../assets/sfx/catering_updown.ogg", 1, 1.0, 0.0},
    {"../assets/sfx/catering_load.ogg", 1, 1.0, 0.0},
    {"../assets/sfx/repair_click.ogg", 1, 1.0, 0.0},
    {"../assets/sfx/baggage_load.ogg", 1, 1.0, 0.0},
    {"../assets/sfx/fuel_pump.ogg", 1, 1.0, 0.0},
};

struct Decoded {
    int rate = 0;
    std::vector<std::vector<float>> channels;
    long long declaredFrames = 0;

    std::size_t frames() const { return channels.empty() ? 0 : channels[0].size(); }
    double seconds() const { return rate > 0 ? static_cast<double>(frames()) / rate : 0.0; }
};

bool decode(const std::string& path, Decoded& out) {
    OggVorbis_File file;
    if (ov_fopen(path.c_str(), &file) != 0)
        return false;
    const vorbis_info* info = ov_info(&file, -1);
    out.rate = static_cast<int>(info->rate);
    out.channels.assign(static_cast<std::size_t>(info->channels), {});
    out.declaredFrames = ov_pcm_total(&file, -1);
    int section = 0;
    for (;;) {
        float** pcm = nullptr;
        const long n = ov_read_float(&file, &pcm, 4096, &section);
        if (n < 0) {
            ov_clear(&file);
            return false;
        }
        if (n == 0)
            break;
        for (std::size_t c = 0; c < out.channels.size(); ++c)
            out.channels[c].insert(out.channels[c].end(), pcm[c], pcm[c] + n);
    }
    ov_clear(&file);
    return true;
}

double rms(const std::vector<float>& x, std::size_t from, std::size_t to) {
    double sum = 0.0;
    for (std::size_t i = from; i < to; ++i)
        sum += static_cast<double>(x[i]) * x[i];
    return to > from ? std::sqrt(sum / static_cast<double>(to - from)) : 0.0;
}

/// The 99th percentile of the sample-to-sample steps in [from, to).
double typicalStep(const std::vector<float>& x, std::size_t from, std::size_t to) {
    std::vector<float> steps;
    for (std::size_t i = from + 1; i < to; ++i)
        steps.push_back(std::fabs(x[i] - x[i - 1]));
    if (steps.empty())
        return 0.0;
    const std::size_t k = steps.size() * 99 / 100;
    std::nth_element(steps.begin(), steps.begin() + static_cast<long>(k), steps.end());
    return steps[k];
}

class SoundAsset : public ::testing::TestWithParam<Expected> {
protected:
    void SetUp() override {
        const Expected& e = GetParam();
        ASSERT_TRUE(decode(e.path, m_sound)) << e.path << " is missing or not an Ogg Vorbis file";
        ASSERT_GT(m_sound.frames(), 0u) << e.path;
    }

    Decoded m_sound;
};

TEST_P(SoundAsset, HasTheFormatAndLengthTheGameNeeds) {
    const Expected& e = GetParam();
    EXPECT_EQ(static_cast<int>(m_sound.channels.size()), e.channels) << e.path;
    EXPECT_TRUE(m_sound.rate == 44100 || m_sound.rate == 22050) << e.path << " rate " << m_sound.rate;
    EXPECT_EQ(static_cast<long long>(m_sound.frames()), m_sound.declaredFrames) << e.path;
    EXPECT_GE(m_sound.seconds(), e.minSeconds) << e.path;
    EXPECT_GT(m_sound.seconds(), e.loopStart) << e.path;
}

TEST_P(SoundAsset, IsAudibleThroughoutAndNotClipped) {
    const Expected& e = GetParam();
    const std::size_t second = static_cast<std::size_t>(m_sound.rate);
    for (const std::vector<float>& ch : m_sound.channels) {
        const float peak = std::fabs(*std::max_element(ch.begin(), ch.end(),
            [](float a, float b) { return std::fabs(a) < std::fabs(b); }));
        EXPECT_GT(peak, 0.25f) << e.path;
        EXPECT_LE(peak, 1.0f) << e.path;
        EXPECT_GT(rms(ch, 0, ch.size()), 0.02) << e.path;
        // No dead second anywhere: a loop that goes quiet sounds broken in game.
        for (std::size_t from = 0; from + second <= ch.size(); from += second)
            EXPECT_GT(rms(ch, from, from + second), 0.004) << e.path << " silent from " << from / second << " s";
    }
}

TEST_P(SoundAsset, LoopJoinsWithoutAClick) {
    const Expected& e = GetParam();
    const std::size_t n = m_sound.frames();
    const std::size_t loop = static_cast<std::size_t>(std::llround(e.loopStart * m_sound.rate));
    ASSERT_LT(loop + 8192, n) << e.path;
    const std::size_t span = 4096;
    for (const std::vector<float>& ch : m_sound.channels) {
        // The step from the last sample into the loop start is no bigger than
        // the steps the sound takes anyway on either side of the seam...
        const double jump = std::fabs(ch[loop] - ch[n - 1]);
        const double typical = std::max(typicalStep(ch, n - span, n), typicalStep(ch, loop, loop + span));
        EXPECT_LE(jump, 2.0 * typical + 1e-3) << e.path << ": the loop end jumps by " << jump
                                               << " where steps are typically up to " << typical;
        // ...and the waveform keeps its slope: a kink is a click as well.
        std::vector<float> curve;
        for (std::size_t i = n - span; i < n; ++i)
            curve.push_back(ch[i] - ch[i - 1]);
        for (std::size_t i = loop + 1; i < loop + span; ++i)
            curve.push_back(ch[i] - ch[i - 1]);
        const double kink = std::fabs((ch[loop] - ch[n - 1]) - (ch[n - 1] - ch[n - 2]));
        const double typicalKink = typicalStep(curve, 0, curve.size());
        EXPECT_LE(kink, 2.0 * typicalKink + 1e-3) << e.path << ": the slope at the loop end changes by " << kink
                                                   << " where it typically changes by up to " << typicalKink;
    }
}

INSTANTIATE_TEST_SUITE_P(GeneratedSounds, SoundAsset, ::testing::ValuesIn(kSounds),
    [](const ::testing::TestParamInfo<Expected>& info) {
        std::string name = info.param.path;
        name = name.substr(name.rfind('/') + 1);
        name = name.substr(0, name.find('.'));
        std::replace(name.begin(), name.end(), '-', '_');
        return name;
    });

/// Envelope correlation at a lag, on 10 ms frames of the mono mix.
double envelopeCorrelation(const Decoded& sound, double lagSeconds) {
    const std::size_t hop = static_cast<std::size_t>(sound.rate / 100);
    std::vector<double> env;
    for (std::size_t from = 0; from + hop <= sound.frames(); from += hop) {
        double sum = 0.0;
        for (const std::vector<float>& ch : sound.channels)
            sum += rms(ch, from, from + hop);
        env.push_back(sum);
    }
    double mean = 0.0;
    for (double v : env)
        mean += v;
    mean /= static_cast<double>(env.size());
    const std::size_t lag = static_cast<std::size_t>(std::llround(lagSeconds * 100.0));
    double num = 0.0, den = 0.0;
    for (std::size_t i = 0; i < env.size(); ++i) {
        const double a = env[i] - mean;
        const double b = env[(i + lag) % env.size()] - mean;
        num += a * b;
        den += a * a;
    }
    return den > 0.0 ? num / den : 0.0;
}

TEST(SoundAssetMusic, HasABeatAndStereoSpread) {
    struct Tune {
        const char* path;
        double beatSeconds;
    };
    const Tune tunes[] = {{"../assets/music/KB_Mainmenu.ogg", 0.5}, {"../assets/music/KB_Level.ogg", 0.48}};
    for (const Tune& tune : tunes) {
        Decoded music;
        ASSERT_TRUE(decode(tune.path, music)) << tune.path;
        ASSERT_EQ(music.channels.size(), 2u) << tune.path;
        // A drum pattern repeats every beat; half way between two beats it does not line up.
        const double onBeat = envelopeCorrelation(music, tune.beatSeconds);
        const double offBeat = envelopeCorrelation(music, tune.beatSeconds * 0.37);
        EXPECT_GT(onBeat, 0.3) << tune.path;
        EXPECT_GT(onBeat, offBeat + 0.2) << tune.path;
        // Instruments are panned: the channels differ.
        double diff = 0.0;
        for (std::size_t i = 0; i < music.frames(); ++i)
            diff += std::fabs(music.channels[0][i] - music.channels[1][i]);
        EXPECT_GT(diff / static_cast<double>(music.frames()), 0.005) << tune.path;
    }
}

TEST(SoundAssetFiles, AMissingFileIsReportedNotDecoded) {
    Decoded nothing;
    EXPECT_FALSE(decode("../assets/sfx/no_such_sound.ogg", nothing));
    const std::string junk = testing::TempDir() + "kb_not_a_sound.ogg";
    std::FILE* f = std::fopen(junk.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fputs("this is not an ogg stream", f);
    std::fclose(f);
    EXPECT_FALSE(decode(junk, nothing));
    std::remove(junk.c_str());
}

} // namespace
