#include "Clip.h"

#include <algorithm>
#include <cmath>

namespace soundbuilder
{
Clip::Clip(int rate, int channels, double seconds)
    : m_rate(rate), m_data(static_cast<std::size_t>(channels),
                          std::vector<float>(static_cast<std::size_t>(std::llround(seconds * rate)), 0.0f))
{
}

std::size_t Clip::frameAt(double seconds) const
{
    return static_cast<std::size_t>(std::llround(seconds * m_rate));
}

void Clip::addWrapped(long long frame, int ch, float value)
{
    const long long total = static_cast<long long>(frames());
    if (total == 0 || frame < 0)
        return;
    const long long start = static_cast<long long>(m_loopStart);
    const long long length = total - start;
    if (length <= 0)
        return;
    frame = start + (frame - start) % length;
    m_data[static_cast<std::size_t>(ch)][static_cast<std::size_t>(frame)] += value;
}

void Clip::panGains(float pan, float gains[2]) const
{
    if (channels() == 1)
    {
        gains[0] = 1.0f;
        gains[1] = 0.0f;
        return;
    }
    const double angle = (std::clamp(pan, -1.0f, 1.0f) + 1.0) * 0.25 * 3.14159265358979323846;
    gains[0] = static_cast<float>(std::cos(angle) * 1.41421356);
    gains[1] = static_cast<float>(std::sin(angle) * 1.41421356);
}

void Clip::addPanned(long long frame, float value, float pan)
{
    float gains[2];
    panGains(pan, gains);
    addGains(frame, value, gains);
}

void Clip::mix(const Clip& other, float gain)
{
    const int chs = std::min(channels(), other.channels());
    const std::size_t n = std::min(frames(), other.frames());
    for (int c = 0; c < chs; ++c)
        for (std::size_t i = 0; i < n; ++i)
            m_data[c][i] += other.m_data[c][i] * gain;
}

void Clip::scale(float gain)
{
    for (auto& ch : m_data)
        for (float& s : ch)
            s *= gain;
}

float Clip::peak() const
{
    float p = 0.0f;
    for (const auto& ch : m_data)
        for (float s : ch)
            p = std::max(p, std::fabs(s));
    return p;
}

void Clip::normalize(float level)
{
    const float p = peak();
    if (p > 0.0f)
        scale(level / p);
}

std::vector<float> Clip::interleaved() const
{
    const std::size_t n = frames();
    const int chs = channels();
    std::vector<float> out(n * static_cast<std::size_t>(chs));
    for (std::size_t i = 0; i < n; ++i)
        for (int c = 0; c < chs; ++c)
            out[i * chs + c] = m_data[c][i];
    return out;
}
}
