#include "Oscillator.h"

#include <cmath>
#include <vector>

namespace soundbuilder
{
namespace
{
constexpr double kTwoPi = 6.28318530717958647692;

double blep(double t, double dt)
{
    if (t < dt)
    {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt)
    {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}
}

double Oscillator::advance(double freq, double rate)
{
    const double p = m_phase;
    m_phase += freq / rate;
    m_phase -= std::floor(m_phase);
    return p;
}

float Oscillator::saw(double freq, double rate)
{
    const double dt = freq / rate;
    const double p = advance(freq, rate);
    return static_cast<float>(2.0 * p - 1.0 - blep(p, dt));
}

float Oscillator::square(double freq, double rate, double width)
{
    const double dt = freq / rate;
    const double p = advance(freq, rate);
    double v = p < width ? 1.0 : -1.0;
    v += blep(p, dt);
    double q = p + 1.0 - width;
    q -= std::floor(q);
    v -= blep(q, dt);
    return static_cast<float>(v);
}

float Oscillator::sine(double freq, double rate)
{
    return fastSin(advance(freq, rate));
}

float Oscillator::fastSin(double cycles)
{
    constexpr int kSize = 4096;
    static const std::vector<float> table = [] {
        std::vector<float> t(kSize + 1);
        for (int i = 0; i <= kSize; ++i)
            t[static_cast<std::size_t>(i)] = static_cast<float>(std::sin(kTwoPi * i / kSize));
        return t;
    }();
    const double x = (cycles - std::floor(cycles)) * kSize;
    const int i = static_cast<int>(x);
    const float frac = static_cast<float>(x - i);
    return table[static_cast<std::size_t>(i)] + (table[static_cast<std::size_t>(i) + 1] - table[static_cast<std::size_t>(i)]) * frac;
}

float Oscillator::triangle(double freq, double rate)
{
    const double p = advance(freq, rate);
    return static_cast<float>(p < 0.5 ? 4.0 * p - 1.0 : 3.0 - 4.0 * p);
}

double Oscillator::midiToHz(double note)
{
    return 440.0 * std::pow(2.0, (note - 69.0) / 12.0);
}
}
