#pragma once

#include <cstddef>
#include <utility>
#include <vector>

namespace soundbuilder
{
class Clip;
class Random;

/// Building blocks shared by the sound effects.
namespace kit
{
constexpr double kTwoPi = 6.28318530717958647692;

/// A curve through (time, value) keys, eased with half cosines; flat outside.
class Curve
{
public:
    explicit Curve(std::vector<std::pair<double, double>> keys);
    double operator()(double t) const;

private:
    std::vector<std::pair<double, double>> m_keys;
};

/// White noise of the given length; indexed modulo its length it repeats
/// exactly with the loop.
std::vector<float> noiseTable(std::size_t frames, Random& random);

/// Index into a table that repeats from loopStart with the table's length.
std::size_t loopIndex(std::size_t frame, std::size_t loopStart, std::size_t length);

/// Smooth 0..1..0 window over [start, start + length].
double window(double t, double start, double length);

/// One damped mode of a struck object.
struct Mode
{
    double freq;
    double decay;
    double amp;
};

/// Strikes a set of modes with a short noise burst (metal, plastic, wood),
/// filtered by distance: rendered into the clip at a time, wrapping at the end.
void impact(Clip& out, double time, const std::vector<Mode>& modes, float gain, double hardness, Random& random,
            double muffle = 20000.0);

/// Low body thump: a sine falling in pitch.
void thump(Clip& out, double time, double freq, double decay, float gain);

/// Brings a looping clip to a loudness (RMS in dB full scale), holding its
/// peaks under the ceiling with a look-ahead limiter that wraps round the
/// loop, so the effects sit at like levels under one volume control.
void finishLoop(Clip& clip, double rmsDb, float ceiling = 0.85f);

/// Filtered noise burst with attack and decay (hiss, slap, scrape).
void noiseBurst(Clip& out, double time, double attack, double decay, double lowCut, double highCut, float gain,
                Random& random);
}
}
