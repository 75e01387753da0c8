#pragma once

namespace soundbuilder
{
/// Trapezoidal state-variable filter: stays stable while its cutoff sweeps
/// every sample, which the synth voices and engine models rely on.
class Svf
{
public:
    struct Out
    {
        float low;
        float band;
        float high;
    };

    /// resonance 0 (none) .. ~0.97 (ringing).
    Out process(float x, double rate, double cutoff, double resonance);
    float lowPass(float x, double rate, double cutoff, double resonance);
    float bandPass(float x, double rate, double cutoff, double resonance);
    float highPass(float x, double rate, double cutoff, double resonance);
    void reset();

private:
    double m_ic1 = 0.0;
    double m_ic2 = 0.0;
    // Coefficients are kept while the cutoff moves less than an inaudible step.
    double m_cutoff = -1.0;
    double m_rate = 0.0;
    double m_resonance = -1.0;
    double m_g = 0.0;
};
}
