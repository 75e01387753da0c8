// Decodes every generated sound the game loads and checks that it is there,
// in the expected format, long enough, audible and loops without a click.
#include <vorbis/vorbisfile.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
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

/// Average power spectrum of the mono mix (Hann-windowed 4096-point frames).
struct Spectrum {
    int rate = 0;
    std::vector<double> power;

    double share(double fromHz, double toHz) const {
        double part = 0.0, total = 0.0;
        for (std::size_t k = 0; k < power.size(); ++k) {
            const double f = static_cast<double>(k) * rate / (2.0 * static_cast<double>(power.size()));
            total += power[k];
            if (f >= fromHz && f < toHz)
                part += power[k];
        }
        return total > 0.0 ? part / total : 0.0;
    }
    /// Share of the energy in the strongest bins: near 1 for a steady tone.
    double peakShare(std::size_t bins) const {
        std::vector<double> sorted(power);
        std::sort(sorted.rbegin(), sorted.rend());
        double top = 0.0, total = 0.0;
        for (std::size_t k = 0; k < sorted.size(); ++k) {
            total += sorted[k];
            if (k < bins)
                top += sorted[k];
        }
        return total > 0.0 ? top / total : 1.0;
    }
    /// Geometric over arithmetic mean between 100 Hz and 10 kHz: near 0 for tones, higher for noise.
    double flatness() const {
        double logSum = 0.0, sum = 0.0;
        int count = 0;
        for (std::size_t k = 0; k < power.size(); ++k) {
            const double f = static_cast<double>(k) * rate / (2.0 * static_cast<double>(power.size()));
            if (f < 100.0 || f > 10000.0)
                continue;
            logSum += std::log(power[k] + 1e-20);
            sum += power[k];
            ++count;
        }
        return count > 0 && sum > 0.0 ? std::exp(logSum / count) / (sum / count) : 0.0;
    }
};

void fft(std::vector<std::complex<double>>& a) {
    const std::size_t n = a.size();
    for (std::size_t i = 1, j = 0; i < n; ++i) {
        std::size_t bit = n >> 1;
        for (; j & bit; bit >>= 1)
            j ^= bit;
        j ^= bit;
        if (i < j)
            std::swap(a[i], a[j]);
    }
    for (std::size_t len = 2; len <= n; len <<= 1) {
        const double angle = -2.0 * 3.14159265358979323846 / static_cast<double>(len);
        const std::complex<double> step(std::cos(angle), std::sin(angle));
        for (std::size_t i = 0; i < n; i += len) {
            std::complex<double> w(1.0);
            for (std::size_t j = 0; j < len / 2; ++j) {
                const std::complex<double> u = a[i + j];
                const std::complex<double> v = a[i + j + len / 2] * w;
                a[i + j] = u + v;
                a[i + j + len / 2] = u - v;
                w *= step;
            }
        }
    }
}

Spectrum spectrum(const Decoded& sound) {
    const std::size_t n = 4096;
    Spectrum s;
    s.rate = sound.rate;
    s.power.assign(n / 2, 0.0);
    std::vector<std::complex<double>> frame(n);
    for (std::size_t from = 0; from + n <= sound.frames(); from += n) {
        for (std::size_t i = 0; i < n; ++i) {
            double v = 0.0;
            for (const std::vector<float>& ch : sound.channels)
                v += ch[from + i];
            const double window = 0.5 - 0.5 * std::cos(2.0 * 3.14159265358979323846 * static_cast<double>(i) / n);
            frame[i] = v * window;
        }
        fft(frame);
        for (std::size_t k = 0; k < n / 2; ++k)
            s.power[k] += std::norm(frame[k]);
    }
    return s;
}

TEST_P(SoundAsset, IsMoreThanATestTone) {
    const Expected& e = GetParam();
    const Spectrum s = spectrum(m_sound);
    EXPECT_LT(s.peakShare(15), 0.95) << e.path << " is a handful of steady tones";
    EXPECT_GT(s.flatness(), 0.01) << e.path << " has no noisy or transient part";
}

TEST(SoundAssetContent, EachSoundHasTheColourOfItsSource) {
    Decoded sound;
    // Music spans bass, middle and treble.
    for (const char* path : {"../assets/music/KB_Mainmenu.ogg", "../assets/music/KB_Level.ogg"}) {
        ASSERT_TRUE(decode(path, sound)) << path;
        const Spectrum s = spectrum(sound);
        EXPECT_GT(s.share(0.0, 300.0), 0.15) << path;
        EXPECT_GT(s.share(300.0, 3000.0), 0.15) << path;
        EXPECT_GT(s.share(3000.0, 22050.0), 0.005) << path;
    }
    // A diesel is mostly low rumble, with the clatter of its injectors on top.
    for (const char* path : {"../assets/sfx/drive.ogg", "../assets/sfx/slowdown.ogg"}) {
        ASSERT_TRUE(decode(path, sound)) << path;
        const Spectrum s = spectrum(sound);
        EXPECT_GT(s.share(0.0, 300.0), 0.5) << path;
        EXPECT_GT(s.share(2000.0, 22050.0), 0.005) << path;
    }
    // Ratchet clicks are small, hard metal: bright, with hardly any bass.
    ASSERT_TRUE(decode("../assets/sfx/repair_click.ogg", sound));
    const Spectrum clicks = spectrum(sound);
    EXPECT_GT(clicks.share(2000.0, 22050.0), 0.3);
    EXPECT_LT(clicks.share(0.0, 300.0), 0.05);
    // A hydraulic pump whines in the middle of the range.
    ASSERT_TRUE(decode("../assets/sfx/catering_updown.ogg", sound));
    EXPECT_GT(spectrum(sound).share(300.0, 3000.0), 0.5);
}

/// Level of the slope of the waveform: a rough loudness that, like the ear,
/// weighs a deep rumble less than the same swing higher up.
double slopeLevel(const std::vector<float>& x, std::size_t from, std::size_t to) {
    double sum = 0.0;
    for (std::size_t i = from + 1; i < to; ++i)
        sum += static_cast<double>(x[i] - x[i - 1]) * (x[i] - x[i - 1]);
    return to > from + 1 ? std::sqrt(sum / static_cast<double>(to - from - 1)) : 0.0;
}

TEST(SoundAssetVehicles, StartPartsLeadIntoTheirLoops) {
    Decoded drive, slowdown;
    ASSERT_TRUE(decode("../assets/sfx/drive.ogg", drive));
    ASSERT_TRUE(decode("../assets/sfx/slowdown.ogg", slowdown));
    const auto at = [](const Decoded& d, double seconds) { return static_cast<std::size_t>(seconds * d.rate); };
    const std::vector<float>& d = drive.channels[0];
    const std::vector<float>& s = slowdown.channels[0];
    const double cruise = slopeLevel(d, at(drive, 5.9), drive.frames());
    // Pulling away starts from idle, quieter than the cruising loop.
    EXPECT_LT(slopeLevel(d, 0, at(drive, 0.3)), 0.8 * cruise);
    // Winding down starts from that cruise, at the same loudness...
    const double start = slopeLevel(s, 0, at(slowdown, 0.1));
    EXPECT_NEAR(start, cruise, 0.35 * cruise);
    // ...and settles into a quieter idle.
    EXPECT_LT(slopeLevel(s, at(slowdown, 3.9), slowdown.frames()), 0.8 * start);
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
