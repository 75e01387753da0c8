#pragma once

namespace soundbuilder
{
/// Second-order filter with the usual audio-cookbook designs.
class Biquad
{
public:
    void setLowPass(double rate, double freq, double q);
    void setHighPass(double rate, double freq, double q);
    /// Band pass with 0 dB peak gain.
    void setBandPass(double rate, double freq, double q);
    void setPeak(double rate, double freq, double q, double gainDb);
    void reset();

    float process(float x);

private:
    void set(double b0, double b1, double b2, double a0, double a1, double a2);

    double m_b0 = 1.0, m_b1 = 0.0, m_b2 = 0.0, m_a1 = 0.0, m_a2 = 0.0;
    double m_z1 = 0.0, m_z2 = 0.0;
};
}
