#include "Svf.h"

#include <cmath>

namespace soundbuilder
{
Svf::Out Svf::process(float x, double rate, double cutoff, double resonance)
{
    const double fc = std::fmax(10.0, std::fmin(cutoff, rate * 0.45));
    if (rate != m_rate || resonance != m_resonance || std::fabs(fc - m_cutoff) > m_cutoff * 0.002)
    {
        m_g = std::tan(3.14159265358979323846 * fc / rate);
        m_cutoff = fc;
        m_rate = rate;
        m_resonance = resonance;
    }
    const double g = m_g;
    const double k = 2.0 - 2.0 * std::fmin(resonance, 0.99);
    const double a1 = 1.0 / (1.0 + g * (g + k));
    const double a2 = g * a1;
    const double a3 = g * a2;
    const double v3 = x - m_ic2;
    const double v1 = a1 * m_ic1 + a2 * v3;
    const double v2 = m_ic2 + a2 * m_ic1 + a3 * v3;
    m_ic1 = 2.0 * v1 - m_ic1;
    m_ic2 = 2.0 * v2 - m_ic2;
    return Out{static_cast<float>(v2), static_cast<float>(v1), static_cast<float>(x - k * v1 - v2)};
}

float Svf::lowPass(float x, double rate, double cutoff, double resonance)
{
    return process(x, rate, cutoff, resonance).low;
}

float Svf::bandPass(float x, double rate, double cutoff, double resonance)
{
    return process(x, rate, cutoff, resonance).band;
}

float Svf::highPass(float x, double rate, double cutoff, double resonance)
{
    return process(x, rate, cutoff, resonance).high;
}

void Svf::reset()
{
    m_ic1 = m_ic2 = 0.0;
}
}
