#pragma once

namespace soundbuilder
{
/// Phase-accumulating oscillator with band-limited (polyBLEP) edges, so bright
/// waveforms do not alias into whistles.
class Oscillator
{
public:
    explicit Oscillator(double phase = 0.0) : m_phase(phase) {}

    /// Advances by one sample at the given frequency and returns the waveform.
    float saw(double freq, double rate);
    float square(double freq, double rate, double width = 0.5);
    float sine(double freq, double rate);
    float triangle(double freq, double rate);

    double phase() const { return m_phase; }

    static double midiToHz(double note);
    /// Sine of a phase in cycles from a table: plenty accurate for audio and
    /// much cheaper than std::sin in the inner loops.
    static float fastSin(double cycles);

private:
    double advance(double freq, double rate);

    double m_phase;
};
}
