#include "EffectKit.h"

#include "Biquad.h"
#include "Clip.h"
#include "Random.h"

#include <algorithm>
#include <cmath>
#include <deque>

namespace soundbuilder
{
namespace kit
{
Curve::Curve(std::vector<std::pair<double, double>> keys) : m_keys(std::move(keys)) {}

double Curve::operator()(double t) const
{
    if (m_keys.empty())
        return 0.0;
    if (t <= m_keys.front().first)
        return m_keys.front().second;
    for (std::size_t i = 1; i < m_keys.size(); ++i)
    {
        if (t < m_keys[i].first)
        {
            const auto& a = m_keys[i - 1];
            const auto& b = m_keys[i];
            const double x = (t - a.first) / (b.first - a.first);
            const double eased = 0.5 - 0.5 * std::cos(3.14159265358979323846 * x);
            return a.second + (b.second - a.second) * eased;
        }
    }
    return m_keys.back().second;
}

std::vector<float> noiseTable(std::size_t frames, Random& random)
{
    std::vector<float> table(frames);
    for (float& v : table)
        v = static_cast<float>(random.bipolar());
    return table;
}

std::size_t loopIndex(std::size_t frame, std::size_t loopStart, std::size_t length)
{
    const long long d = static_cast<long long>(frame) - static_cast<long long>(loopStart);
    const long long n = static_cast<long long>(length);
    return static_cast<std::size_t>(((d % n) + n) % n);
}

double window(double t, double start, double length)
{
    if (t <= start || t >= start + length)
        return 0.0;
    return 0.5 - 0.5 * std::cos(kTwoPi * (t - start) / length);
}

void impact(Clip& out, double time, const std::vector<Mode>& modes, float gain, double hardness, Random& random,
            double muffle)
{
    const int rate = out.rate();
    double longest = 0.0;
    for (const Mode& m : modes)
        longest = std::max(longest, m.decay);
    const long long start = std::llround(time * rate);
    const long long n = std::llround((longest * 7.0 + 0.01) * rate);
    Biquad contact;
    contact.setBandPass(rate, 1500.0 + 4000.0 * hardness, 0.8);
    Biquad distance;
    distance.setLowPass(rate, muffle, 0.707);
    std::vector<double> phases(modes.size());
    for (double& p : phases)
        p = random.uniform();
    for (long long i = 0; i < n; ++i)
    {
        const double t = static_cast<double>(i) / rate;
        double v = 0.0;
        for (std::size_t k = 0; k < modes.size(); ++k)
            v += modes[k].amp * std::exp(-t / modes[k].decay) * std::sin(kTwoPi * (modes[k].freq * t + phases[k]));
        // The ring starts from zero; a brief noisy contact gives the strike.
        v *= std::min(1.0, t / 0.0004);
        const double burst = contact.process(static_cast<float>(random.bipolar())) * std::exp(-t / 0.0015) * hardness;
        out.add(start + i, 0, distance.process(static_cast<float>(v + burst * 1.5)) * gain);
    }
}

void thump(Clip& out, double time, double freq, double decay, float gain)
{
    const int rate = out.rate();
    const long long start = std::llround(time * rate);
    const long long n = std::llround(decay * 8.0 * rate);
    double phase = 0.0;
    for (long long i = 0; i < n; ++i)
    {
        const double t = static_cast<double>(i) / rate;
        phase += freq * (1.0 + 0.8 * std::exp(-t / 0.015)) / rate;
        const double v = std::sin(kTwoPi * phase) * std::exp(-t / decay) * std::min(1.0, t / 0.0015);
        out.add(start + i, 0, static_cast<float>(v * gain));
    }
}

void finishLoop(Clip& clip, double rmsDb, float ceiling)
{
    const std::size_t n = clip.frames();
    if (n == 0)
        return;
    double sum = 0.0;
    for (int c = 0; c < clip.channels(); ++c)
        for (float v : clip.channel(c))
            sum += static_cast<double>(v) * v;
    const double rms = std::sqrt(sum / static_cast<double>(n * static_cast<std::size_t>(clip.channels())));
    if (rms <= 0.0)
        return;
    clip.scale(static_cast<float>(std::pow(10.0, rmsDb / 20.0) / rms));

    // Gain each sample needs, the lowest within the look-ahead, eased in over
    // the look-ahead and let go slowly; all circular over the loop.
    const std::size_t ahead = static_cast<std::size_t>(clip.rate() * 0.002) + 1;
    std::vector<double> need(n, 1.0);
    for (int c = 0; c < clip.channels(); ++c)
        for (std::size_t i = 0; i < n; ++i)
        {
            const double a = std::fabs(clip.channel(c)[i]);
            if (a > ceiling)
                need[i] = std::min(need[i], ceiling / a);
        }
    // Sliding minimum over the next 2 * ahead samples (a monotonic queue over
    // the loop followed by its own start), then a running average.
    const std::size_t span = 2 * ahead;
    std::vector<double> lowest(n, 1.0);
    std::deque<std::size_t> queue;
    for (std::size_t k = 0; k < n + span; ++k)
    {
        const double v = need[k % n];
        while (!queue.empty() && need[queue.back() % n] >= v)
            queue.pop_back();
        queue.push_back(k);
        if (k + 1 >= span)
        {
            const std::size_t i = k + 1 - span;
            while (queue.front() < i)
                queue.pop_front();
            if (i < n)
                lowest[i] = need[queue.front() % n];
        }
    }
    // Every sample in the averaging window already allows no more than the
    // gain needed here, so the average eases down without overshooting.
    std::vector<double> eased(n, 0.0);
    double window = 0.0;
    for (std::size_t j = 0; j < ahead; ++j)
        window += lowest[(n - j) % n];
    for (std::size_t i = 0; i < n; ++i)
    {
        if (i > 0)
            window += lowest[i] - lowest[(i + n - ahead) % n];
        eased[i] = window / static_cast<double>(ahead);
    }
    const double release = 1.0 - std::exp(-1.0 / (0.08 * clip.rate()));
    double g = 1.0;
    for (int pass = 0; pass < 2; ++pass)
        for (std::size_t i = 0; i < n; ++i)
        {
            g = std::min(eased[i], g + (1.0 - g) * release);
            if (pass == 1)
                for (int c = 0; c < clip.channels(); ++c)
                    clip.channel(c)[i] = static_cast<float>(clip.channel(c)[i] * g);
        }
}

void noiseBurst(Clip& out, double time, double attack, double decay, double lowCut, double highCut, float gain,
                Random& random)
{
    const int rate = out.rate();
    const long long start = std::llround(time * rate);
    const long long n = std::llround((attack + decay * 7.0) * rate);
    Biquad high, low;
    high.setHighPass(rate, lowCut, 0.707);
    low.setLowPass(rate, highCut, 0.707);
    for (long long i = 0; i < n; ++i)
    {
        const double t = static_cast<double>(i) / rate;
        const double env = t < attack ? t / attack : std::exp(-(t - attack) / decay);
        const double v = low.process(high.process(static_cast<float>(random.bipolar()))) * env;
        out.add(start + i, 0, static_cast<float>(v * gain));
    }
}
}
}
