#include "Biquad.h"

#include <cmath>

namespace soundbuilder
{
namespace
{
constexpr double kPi = 3.14159265358979323846;

double clampFreq(double rate, double freq)
{
    return std::fmax(1.0, std::fmin(freq, rate * 0.49));
}
}

void Biquad::set(double b0, double b1, double b2, double a0, double a1, double a2)
{
    m_b0 = b0 / a0;
    m_b1 = b1 / a0;
    m_b2 = b2 / a0;
    m_a1 = a1 / a0;
    m_a2 = a2 / a0;
}

void Biquad::setLowPass(double rate, double freq, double q)
{
    const double w = 2.0 * kPi * clampFreq(rate, freq) / rate;
    const double alpha = std::sin(w) / (2.0 * q);
    const double c = std::cos(w);
    set((1.0 - c) / 2.0, 1.0 - c, (1.0 - c) / 2.0, 1.0 + alpha, -2.0 * c, 1.0 - alpha);
}

void Biquad::setHighPass(double rate, double freq, double q)
{
    const double w = 2.0 * kPi * clampFreq(rate, freq) / rate;
    const double alpha = std::sin(w) / (2.0 * q);
    const double c = std::cos(w);
    set((1.0 + c) / 2.0, -(1.0 + c), (1.0 + c) / 2.0, 1.0 + alpha, -2.0 * c, 1.0 - alpha);
}

void Biquad::setBandPass(double rate, double freq, double q)
{
    const double w = 2.0 * kPi * clampFreq(rate, freq) / rate;
    const double alpha = std::sin(w) / (2.0 * q);
    const double c = std::cos(w);
    set(alpha, 0.0, -alpha, 1.0 + alpha, -2.0 * c, 1.0 - alpha);
}

void Biquad::setPeak(double rate, double freq, double q, double gainDb)
{
    const double a = std::pow(10.0, gainDb / 40.0);
    const double w = 2.0 * kPi * clampFreq(rate, freq) / rate;
    const double alpha = std::sin(w) / (2.0 * q);
    const double c = std::cos(w);
    set(1.0 + alpha * a, -2.0 * c, 1.0 - alpha * a, 1.0 + alpha / a, -2.0 * c, 1.0 - alpha / a);
}

void Biquad::reset()
{
    m_z1 = m_z2 = 0.0;
}

float Biquad::process(float x)
{
    // Transposed direct form II keeps coefficient changes between samples quiet.
    const double y = m_b0 * x + m_z1;
    m_z1 = m_b1 * x - m_a1 * y + m_z2;
    m_z2 = m_b2 * x - m_a2 * y;
    return static_cast<float>(y);
}
}
