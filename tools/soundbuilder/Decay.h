#pragma once

#include <cmath>

namespace soundbuilder
{
/// Exponential decay stepped per sample by one multiplication.
class Decay
{
public:
    Decay(double seconds, int rate) : m_factor(std::exp(-1.0 / (seconds * rate))) {}

    double next()
    {
        const double v = m_value;
        m_value *= m_factor;
        return v;
    }

private:
    double m_factor;
    double m_value = 1.0;
};
}
