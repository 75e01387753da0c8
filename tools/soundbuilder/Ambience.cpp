#include "Effects.h"

#include "Biquad.h"
#include "Clip.h"
#include "EffectKit.h"
#include "Random.h"
#include "Reverb.h"
#include "Svf.h"

#include <cmath>

namespace soundbuilder
{
namespace effects
{
namespace
{
using kit::kTwoPi;

/// Periodic slow modulation: a few sines with whole cycles per loop.
double drift(double loopT, double a, double b, double c)
{
    return std::sin(kTwoPi * (1.0 * loopT + a)) * 0.5 + std::sin(kTwoPi * (2.0 * loopT + b)) * 0.3 +
           std::sin(kTwoPi * (5.0 * loopT + c)) * 0.2;
}

/// A distant jet engine: broadband roar that brightens as it swells, plus
/// the fan's whine. Frequencies are whole multiples of 1/loop, so every
/// oscillator is back at its starting phase when the loop ends.
void jet(Clip& out, double loopLength, double peakAt, double peakWidth, double whineHz, float gain, Random& random)
{
    const int rate = out.rate();
    const std::size_t frames = out.frames();
    Clip roar(rate, 1, out.seconds());
    const std::vector<float> noise = kit::noiseTable(frames, random);
    roar.channel(0) = noise;
    auto swell = [&](double loopT) {
        double d = loopT - peakAt / loopLength;
        d -= std::round(d);
        const double x = d * loopLength / peakWidth;
        return std::exp(-x * x);
    };
    Svf low, mid;
    roar.processLoop(0, [&](float x, std::size_t i) {
        const double loopT = static_cast<double>(i) / frames;
        const double s = swell(loopT);
        const double cutoff = 320.0 + 1500.0 * s;
        const double v = low.lowPass(x, rate, cutoff, 0.1) * 1.4 + mid.bandPass(x, rate, 180.0, 0.3) * 0.6;
        return static_cast<float>(v * (0.3 + 0.7 * s));
    }, 1.0);
    const double whineFreq = std::round(whineHz * loopLength) / loopLength;
    for (std::size_t i = 0; i < frames; ++i)
    {
        const double t = static_cast<double>(i) / rate;
        const double loopT = t / loopLength;
        const double s = swell(loopT);
        // Doppler-like drift of the fan tone as the aircraft turns.
        const double phase = whineFreq * t + 0.3 * std::sin(kTwoPi * loopT);
        const double beat = 0.75 + 0.25 * std::sin(kTwoPi * 9.0 * loopT);
        const double whine = (std::sin(kTwoPi * phase) * 0.6 + std::sin(kTwoPi * 2.0 * phase + 0.4) * 0.25 +
                              std::sin(kTwoPi * 0.5 * phase) * 0.3) *
                             s * s * beat * 0.05;
        out.channel(0)[i] += static_cast<float>((roar.channel(0)[i] + whine) * gain);
    }
}

/// A reversing alarm on some tug far across the apron.
void reversingBeeper(Clip& out, double start, int beeps, float gain)
{
    const int rate = out.rate();
    for (int b = 0; b < beeps; ++b)
    {
        const double t0 = start + b * 1.0;
        const long long s0 = std::llround(t0 * rate);
        const long long n = std::llround(0.5 * rate);
        Biquad soften;
        soften.setLowPass(rate, 2200.0, 0.707);
        for (long long i = 0; i < n; ++i)
        {
            const double t = static_cast<double>(i) / rate;
            const double env = std::fmin(1.0, t / 0.01) * std::fmin(1.0, (0.5 - t) / 0.01);
            const double p = 1150.0 * t;
            const double tone = (p - std::floor(p)) < 0.5 ? 1.0 : -1.0;
            out.add(s0 + i, 0, soften.process(static_cast<float>(tone * env)) * gain);
        }
    }
}

/// The terminal's announcement chime, heard from outside.
void chime(Clip& out, double start, float gain)
{
    static const double kNotes[] = {784.0, 659.3, 523.3};
    const int rate = out.rate();
    for (int k = 0; k < 3; ++k)
    {
        const long long s0 = std::llround((start + k * 0.55) * rate);
        const long long n = std::llround(2.2 * rate);
        for (long long i = 0; i < n; ++i)
        {
            const double t = static_cast<double>(i) / rate;
            const double f = kNotes[k];
            const double v = (std::sin(kTwoPi * f * t) + 0.3 * std::sin(kTwoPi * 2.0 * f * t) * std::exp(-t / 0.2) +
                              0.12 * std::sin(kTwoPi * 3.01 * f * t) * std::exp(-t / 0.1)) *
                             std::exp(-t / 0.55) * std::fmin(1.0, t / 0.004);
            out.add(s0 + i, 0, static_cast<float>(v * gain));
        }
    }
}

/// A diesel tug or bus passing at a distance.
void passingVehicle(Clip& out, double start, double length, double firing, float gain, Random& random)
{
    const int rate = out.rate();
    const long long s0 = std::llround(start * rate);
    const long long n = std::llround(length * rate);
    Biquad body, air;
    body.setLowPass(rate, 240.0, 1.2);
    air.setBandPass(rate, 500.0, 0.7);
    double phi = 0.0;
    for (long long i = 0; i < n; ++i)
    {
        const double t = static_cast<double>(i) / rate;
        const double env = kit::window(t, 0.0, length);
        phi += firing * (1.04 - 0.08 * t / length) / rate;
        const double u = phi - std::floor(phi);
        const double pulse = u < 0.2 ? std::sin(3.14159265358979323846 * u / 0.2) : 0.0;
        const double v = body.process(static_cast<float>(pulse)) * 1.2 +
                         air.process(static_cast<float>(random.bipolar())) * 0.25;
        out.add(s0 + i, 0, static_cast<float>(v * env * env * gain));
    }
}
}

Clip airportAtmosphere(int rate)
{
    const double loopLength = 24.0;
    Clip clip(rate, 1, loopLength);
    Random random(0x41544d4f);

    // Two aircraft: one spooling up for departure, one taxiing by.
    jet(clip, loopLength, 9.0, 4.5, 2850.0, 0.55f, random);
    jet(clip, loopLength, 20.5, 3.0, 3420.0, 0.3f, random);

    // Wind: band-passed noise whose centre and strength gust.
    {
        Clip wind(rate, 1, loopLength);
        wind.channel(0) = kit::noiseTable(wind.frames(), random);
        Svf band, whistle;
        const double frames = static_cast<double>(wind.frames());
        wind.processLoop(0, [&](float x, std::size_t i) {
            const double loopT = static_cast<double>(i) / frames;
            const double gust = 0.55 + 0.45 * drift(loopT, 0.1, 0.7, 0.35);
            const double centre = 420.0 + 260.0 * drift(loopT, 0.6, 0.2, 0.9);
            const double v = band.bandPass(x, rate, centre, 0.35) * 0.9 +
                             whistle.bandPass(x, rate, centre * 4.0, 0.85) * 0.06 * gust;
            return static_cast<float>(v * gust * gust);
        }, 1.0);
        clip.mix(wind, 0.3f);
    }

    // Bustle across the apron, softened by distance and a little open-air echo.
    {
        Clip bustle(rate, 1, loopLength);
        reversingBeeper(bustle, 2.2, 6, 0.05f);
        chime(bustle, 13.6, 0.09f);
        passingVehicle(bustle, 15.5, 6.5, 24.0, 0.2f, random);
        const std::vector<kit::Mode> clank = {
            {310.0, 0.22, 0.5}, {843.0, 0.16, 0.4}, {1470.0, 0.1, 0.3}, {2312.0, 0.07, 0.25}, {3290.0, 0.05, 0.2}};
        kit::impact(bustle, 7.4, clank, 0.12f, 0.8, random, 2500.0);
        kit::impact(bustle, 7.65, clank, 0.07f, 0.6, random, 2500.0);
        kit::impact(bustle, 19.1, clank, 0.1f, 0.9, random, 3000.0);
        kit::thump(bustle, 11.2, 70.0, 0.12, 0.12f);
        kit::noiseBurst(bustle, 11.3, 0.02, 0.25, 1800.0, 7000.0, 0.05f, random);
        kit::impact(bustle, 4.9, {{1210.0, 0.08, 0.4}, {2630.0, 0.05, 0.3}, {4100.0, 0.03, 0.2}}, 0.05f, 0.5, random,
                    4000.0);

        Clip wet(rate, 1, loopLength);
        wet.channel(0) = bustle.channel(0);
        Reverb echo(rate, 0.8, 0.6);
        wet.processLoop(0, [&](float x, std::size_t) {
            float l = 0.0f, r = 0.0f;
            echo.process(x, x, l, r);
            return (l + r) * 0.5f;
        }, 8.0);
        clip.mix(bustle, 0.8f);
        clip.mix(wet, 0.9f);
    }

    // Ground power units hum near the stands.
    const double frames = static_cast<double>(clip.frames());
    for (std::size_t i = 0; i < clip.frames(); ++i)
    {
        const double loopT = static_cast<double>(i) / frames;
        const double t = loopT * loopLength;
        const double hum = (std::sin(kTwoPi * 400.0 * t) * 0.5 + std::sin(kTwoPi * 800.0 * t) * 0.2 +
                            std::sin(kTwoPi * 1200.0 * t) * 0.1) *
                           (0.6 + 0.4 * drift(loopT, 0.3, 0.8, 0.1)) * 0.006;
        clip.channel(0)[i] += static_cast<float>(hum);
    }

    Biquad dc;
    dc.setHighPass(rate, 25.0, 0.707);
    clip.processLoop(0, [&](float x, std::size_t) { return dc.process(x); }, 1.0);
    kit::finishLoop(clip, -18.0);
    return clip;
}
}
}
