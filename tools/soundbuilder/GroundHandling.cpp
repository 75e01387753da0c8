#include "Effects.h"

#include "Biquad.h"
#include "Clip.h"
#include "EffectKit.h"
#include "Random.h"
#include "Svf.h"

#include <cmath>

namespace soundbuilder
{
namespace effects
{
namespace
{
using kit::kTwoPi;

/// Rounds a frequency to whole cycles per loop, so tones that run through
/// the whole loop end where they started.
double whole(double freq, double loopLength)
{
    return std::round(freq * loopLength) / loopLength;
}

/// Noise through a filter, continuous over the loop.
Clip loopNoise(int rate, double seconds, Random& random)
{
    Clip clip(rate, 1, seconds);
    clip.channel(0) = kit::noiseTable(clip.frames(), random);
    return clip;
}

/// One trolley: rolls in on small casters over the floor seams, its contents
/// rattling, then bumps into the end stop and the latch snaps shut.
void trolley(Clip& out, double start, double rollTime, double seamRate, Random& random)
{
    const int rate = out.rate();
    const long long s0 = std::llround(start * rate);
    const long long n = std::llround(rollTime * rate);
    Biquad rumble, rumble2, squeak;
    rumble.setLowPass(rate, 260.0, 1.1);
    rumble2.setBandPass(rate, 520.0, 2.0);
    double wheel = 0.0;
    for (long long i = 0; i < n; ++i)
    {
        const double t = static_cast<double>(i) / rate;
        const double x = t / rollTime;
        // Pushed hard at first, slowing as it reaches the stop.
        const double speed = std::fmin(1.0, t / 0.12) * (1.0 - 0.45 * x);
        wheel += seamRate * speed / rate;
        const double u = wheel - std::floor(wheel);
        const double bump = std::exp(-u * 60.0) * 0.8;
        const double noise = random.bipolar();
        const double roll = (rumble.process(static_cast<float>(noise)) * 1.4 +
                             rumble2.process(static_cast<float>(noise)) * 0.5) *
                            (0.6 + bump) * speed;
        const double caster = std::sin(kTwoPi * (1850.0 * t + 6.0 * std::sin(kTwoPi * 3.0 * t))) *
                              kit::window(x, 0.2, 0.5) * 0.012;
        out.add(s0 + i, 0, static_cast<float>(roll * 0.5 + caster));
    }
    // Cans and cutlery knocking about inside.
    const double rattleRate = 26.0;
    for (double t = random.range(0.0, 0.03); t < rollTime; t += random.range(0.4, 1.6) / rattleRate)
    {
        const double f = random.range(2400.0, 5200.0);
        const float g = static_cast<float>(random.range(0.02, 0.07) * (1.0 - 0.5 * t / rollTime));
        kit::impact(out, start + t, {{f, 0.018, 0.6}, {f * 1.47, 0.012, 0.4}, {f * 2.3, 0.008, 0.2}}, g, 0.5, random);
    }
    // The trolley hits the stop: a hollow metal box, then the latch.
    const std::vector<kit::Mode> box = {{168.0, 0.2, 0.5},  {395.0, 0.16, 0.45}, {722.0, 0.12, 0.35},
                                        {1148.0, 0.09, 0.3}, {1693.0, 0.07, 0.25}, {2473.0, 0.05, 0.2},
                                        {3350.0, 0.035, 0.12}};
    const double hit = start + rollTime;
    kit::thump(out, hit, 65.0, 0.07, 0.5f);
    kit::impact(out, hit, box, 0.55f, 0.9, random);
    for (int r = 0; r < 5; ++r)
    {
        const double f = random.range(2600.0, 4800.0);
        kit::impact(out, hit + 0.02 + r * random.range(0.015, 0.04), {{f, 0.02, 0.6}, {f * 1.6, 0.01, 0.3}},
                    static_cast<float>(0.12 - 0.02 * r), 0.5, random);
    }
    const double latch = hit + 0.32;
    kit::impact(out, latch, {{2150.0, 0.02, 0.5}, {3710.0, 0.015, 0.4}, {5230.0, 0.01, 0.3}}, 0.3f, 1.0, random);
    kit::impact(out, latch + 0.045, {{1650.0, 0.03, 0.5}, {2980.0, 0.02, 0.4}, {4480.0, 0.012, 0.3}}, 0.38f, 1.0,
                random);
}

/// The pawl of a ratchet snapping over one tooth.
void ratchetClick(Clip& out, double time, float gain, double pitch, Random& random)
{
    const std::vector<kit::Mode> pawl = {{2750.0 * pitch, 0.012, 0.5}, {4180.0 * pitch, 0.009, 0.45},
                                         {6330.0 * pitch, 0.006, 0.35}, {8870.0 * pitch, 0.004, 0.25},
                                         {1320.0 * pitch, 0.02, 0.2}};
    kit::impact(out, time, pawl, gain, 1.0, random);
}

/// A suitcase dropped on the belt: the thud of its body, the slap of its
/// shell or cloth and the rattle of its handle.
void suitcase(Clip& out, double time, bool hardShell, Random& random)
{
    kit::thump(out, time, hardShell ? 95.0 : 72.0, hardShell ? 0.07 : 0.1, 0.8f);
    if (hardShell)
        kit::impact(out, time, {{420.0, 0.06, 0.6}, {910.0, 0.04, 0.4}, {1530.0, 0.025, 0.25}}, 0.45f, 0.7, random,
                    6000.0);
    else
        kit::noiseBurst(out, time, 0.003, 0.035, 250.0, 2200.0, 0.9f, random);
    // It lands on one edge first, then falls flat.
    kit::thump(out, time + 0.09, hardShell ? 80.0 : 65.0, 0.06, 0.35f);
    kit::noiseBurst(out, time + 0.09, 0.003, 0.03, 300.0, 2500.0, 0.3f, random);
    for (int r = 0; r < 3; ++r)
    {
        const double f = random.range(1900.0, 3200.0);
        kit::impact(out, time + 0.03 + 0.035 * r + random.range(0.0, 0.01), {{f, 0.015, 0.6}, {f * 1.7, 0.008, 0.3}},
                    static_cast<float>(0.08 - 0.02 * r), 0.6, random);
    }
    // Scraping along the side rail as the belt carries it off.
    kit::noiseBurst(out, time + 0.15, 0.25, 0.35, 1200.0, 4500.0, 0.06f, random);
}
}

Clip cateringLift(int rate)
{
    const double loopLength = 4.0;
    Clip clip(rate, 1, loopLength);
    Random random(0x4c494654);

    // Electric motor driving a nine-tooth gear pump; the pressure ripple of
    // the teeth is the whine, the relief valve adds a hiss of oil.
    const double motor = whole(47.5, loopLength);
    const double teeth = motor * 9.0;
    Clip oil = loopNoise(rate, loopLength, random);
    Svf flowBand, valve;
    oil.processLoop(0, [&](float x, std::size_t i) {
        const double loopT = static_cast<double>(i) / oil.frames();
        const double surge = 0.8 + 0.2 * std::sin(kTwoPi * 2.0 * loopT);
        return static_cast<float>((flowBand.bandPass(x, rate, 1700.0, 0.4) * 0.25 +
                                   valve.bandPass(x, rate, 5200.0, 0.7) * 0.08) *
                                  surge);
    });
    for (std::size_t i = 0; i < clip.frames(); ++i)
    {
        const double t = static_cast<double>(i) / rate;
        const double loopT = t / loopLength;
        // Load on the ram varies as the scissors open; the motor sags a little
        // and never turns quite evenly. Each wobble has whole cycles per loop
        // and its phase is integrated exactly, so the pitch lines up at the seam.
        struct Wobble
        {
            double cycles, depth, phase;
        };
        static const Wobble kWobbles[] = {
            {2.0, 0.006, 0.0}, {5.0, 0.003, 0.5}, {11.0, 0.0015, 1.3}, {17.0, 0.001, 2.1}, {29.0, 0.0007, 0.4}};
        double sag = 0.0, sagPhase = 0.0;
        for (const Wobble& w : kWobbles)
        {
            sag += w.depth * std::sin(kTwoPi * w.cycles * loopT + w.phase);
            sagPhase -= w.depth / (kTwoPi * w.cycles) * std::cos(kTwoPi * w.cycles * loopT + w.phase) * loopLength;
        }
        const double p = teeth * (t + sagPhase);
        double whine = 0.0;
        static const double kHarmonic[] = {1.0, 0.55, 0.42, 0.2, 0.12, 0.06};
        for (int h = 0; h < 6; ++h)
        {
            // The harmonics swell and fade against each other as pressure shifts.
            const double shimmer = 1.0 + 0.3 * std::sin(kTwoPi * (3.0 + 2.0 * h) * loopT + h);
            whine += kHarmonic[h] * shimmer * std::sin(kTwoPi * (h + 1) * p + h * 0.7);
        }
        const double rot = motor * (t + sagPhase);
        const double hum = std::sin(kTwoPi * rot) * 0.25 + std::sin(kTwoPi * 100.0 * t) * 0.3 +
                           std::sin(kTwoPi * 200.0 * t + 0.3) * 0.12;
        const double flutter = 1.0 + 0.25 * std::sin(kTwoPi * rot);
        const double v = whine * 0.22 * flutter * (1.0 + 40.0 * sag) + hum * 0.35 + oil.channel(0)[i];
        clip.channel(0)[i] = static_cast<float>(std::tanh(v * 1.3));
    }
    // Chain and guide rollers ticking in the mast.
    for (double t = 0.13; t < loopLength; t += 0.25)
        kit::impact(clip, t, {{3100.0, 0.01, 0.5}, {4650.0, 0.007, 0.3}}, 0.05f, 0.4, random);
    kit::impact(clip, 1.7, {{610.0, 0.05, 0.4}, {1370.0, 0.03, 0.3}, {2250.0, 0.02, 0.2}}, 0.12f, 0.5, random);
    kit::finishLoop(clip, -17.0);
    return clip;
}

Clip cateringLoad(int rate)
{
    const double loopLength = 6.0;
    Clip clip(rate, 1, loopLength);
    Random random(0x43415452);
    // The container is never quite silent: the truck idles below and the
    // galley's fan runs.
    Clip bed = loopNoise(rate, loopLength, random);
    Svf rumble, fan;
    bed.processLoop(0, [&](float x, std::size_t i) {
        const double t = static_cast<double>(i) / rate;
        const double idle = 0.7 + 0.3 * std::sin(kTwoPi * 25.0 * t);
        return static_cast<float>(rumble.lowPass(x, rate, 110.0, 0.5) * 0.5 * idle +
                                  fan.bandPass(x, rate, 1100.0, 0.4) * 0.025 + std::sin(kTwoPi * 120.0 * t) * 0.01);
    });
    clip.mix(bed, 1.0f);
    trolley(clip, 0.05, 1.55, 7.0, random);
    trolley(clip, 2.95, 1.35, 8.5, random);
    // Someone knocks a drawer shut in between.
    kit::impact(clip, 5.3, {{530.0, 0.05, 0.5}, {1220.0, 0.035, 0.4}, {2090.0, 0.02, 0.25}}, 0.25f, 0.6, random);
    Biquad dc;
    dc.setHighPass(rate, 30.0, 0.707);
    clip.processLoop(0, [&](float x, std::size_t) { return dc.process(x); });
    kit::finishLoop(clip, -19.0);
    return clip;
}

Clip repairClick(int rate)
{
    const double loopLength = 3.2;
    Clip clip(rate, 1, loopLength);
    Random random(0x52415443);
    // Quick strokes of the handle, each a run of pawl clicks, the last one
    // slower as the bolt tightens; then the wrench knocks the panel.
    struct Stroke
    {
        double start;
        int clicks;
        double spacing;
        double pitch;
    };
    const Stroke strokes[] = {{0.04, 7, 0.048, 1.0}, {0.66, 7, 0.05, 1.02}, {1.29, 6, 0.058, 0.99},
                              {1.94, 5, 0.075, 0.97}};
    for (const Stroke& s : strokes)
    {
        for (int c = 0; c < s.clicks; ++c)
        {
            // The hand speeds up and slows down within a stroke.
            const double x = static_cast<double>(c) / s.clicks;
            const double t = s.start + c * s.spacing * (1.0 + 0.35 * (x - 0.5) * (x - 0.5));
            ratchetClick(clip, t + random.range(-0.003, 0.003), static_cast<float>(random.range(0.55, 0.75)),
                         s.pitch * random.range(0.98, 1.02), random);
        }
        // The handle swings back and seats.
        const double end = s.start + s.clicks * s.spacing + 0.1;
        kit::impact(clip, end, {{1900.0, 0.015, 0.5}, {3300.0, 0.01, 0.3}}, 0.25f, 0.7, random);
    }
    const std::vector<kit::Mode> panel = {{880.0, 0.09, 0.5},  {2140.0, 0.06, 0.45}, {3560.0, 0.05, 0.35},
                                          {5290.0, 0.035, 0.3}, {7020.0, 0.02, 0.2}};
    kit::impact(clip, 2.66, panel, 0.8f, 1.0, random);
    kit::impact(clip, 2.82, panel, 0.45f, 0.8, random);
    kit::finishLoop(clip, -20.0);
    return clip;
}

Clip baggageLoad(int rate)
{
    const double loopLength = 4.0;
    Clip clip(rate, 1, loopLength);
    Random random(0x42414747);

    // The belt: motor hum, rollers clicking past the belt splice, belt hiss.
    Clip belt = loopNoise(rate, loopLength, random);
    Svf friction, low;
    belt.processLoop(0, [&](float x, std::size_t) {
        return static_cast<float>(friction.bandPass(x, rate, 900.0, 0.3) * 0.14 + low.lowPass(x, rate, 140.0, 0.4) * 0.2);
    });
    const double rollerRate = whole(11.0, loopLength);
    Biquad rollerTone;
    rollerTone.setBandPass(rate, 1400.0, 3.0);
    for (std::size_t i = 0; i < clip.frames(); ++i)
    {
        const double t = static_cast<double>(i) / rate;
        const double hum = std::sin(kTwoPi * 100.0 * t) * 0.02 + std::sin(kTwoPi * 50.0 * t) * 0.015 +
                           std::sin(kTwoPi * 300.0 * t) * 0.01;
        const double r = rollerRate * t;
        const double u = r - std::floor(r);
        // Each roller knocks as the splice passes: quick rise, short ring-out.
        const double tick = u * 250.0 * std::exp(1.0 - u * 250.0) * (static_cast<long long>(std::floor(r)) % 2 == 0 ? 1.0 : 0.6);
        clip.channel(0)[i] = static_cast<float>(hum + belt.channel(0)[i] + tick * 0.12);
    }
    clip.processLoop(0, [&](float x, std::size_t i) {
        const double t = static_cast<double>(i) / rate;
        const double r = rollerRate * t;
        const double u = r - std::floor(r);
        return x + rollerTone.process(static_cast<float>(u * 400.0 * std::exp(1.0 - u * 400.0) * 0.5));
    });
    suitcase(clip, 0.35, true, random);
    suitcase(clip, 1.55, false, random);
    suitcase(clip, 2.85, true, random);
    Biquad dc;
    dc.setHighPass(rate, 30.0, 0.707);
    clip.processLoop(0, [&](float x, std::size_t) { return dc.process(x); });
    kit::finishLoop(clip, -18.0);
    return clip;
}

Clip fuelPump(int rate)
{
    const double loopLength = 4.0;
    Clip clip(rate, 1, loopLength);
    Random random(0x46554c4c);

    // Fuel rushing through the hose: turbulent band noise with a slow surge.
    Clip flow = loopNoise(rate, loopLength, random);
    Svf rush, slosh, hiss;
    flow.processLoop(0, [&](float x, std::size_t i) {
        const double loopT = static_cast<double>(i) / flow.frames();
        const double surge = 0.75 + 0.15 * std::sin(kTwoPi * 3.0 * loopT) + 0.1 * std::sin(kTwoPi * 7.0 * loopT + 2.0);
        const double v = rush.bandPass(x, rate, 820.0 + 120.0 * std::sin(kTwoPi * 5.0 * loopT), 0.45) * 0.4 +
                         slosh.lowPass(x, rate, 160.0, 0.5) * 0.5 + hiss.bandPass(x, rate, 3200.0, 0.3) * 0.04;
        return static_cast<float>(v * surge);
    });
    // Bubbles and gurgles in the stream: resonating bubbles rising in pitch.
    for (double t = 0.0; t < loopLength; t += random.range(0.004, 0.03))
    {
        const double f = random.range(280.0, 1400.0);
        const double decay = random.range(0.006, 0.025);
        const float g = static_cast<float>(random.range(0.015, 0.07));
        const int r = clip.rate();
        const long long s0 = std::llround(t * r);
        const long long n = std::llround(decay * 6.0 * r);
        double phase = 0.0;
        for (long long i = 0; i < n; ++i)
        {
            const double tt = static_cast<double>(i) / r;
            phase += f * (1.0 + 2.5 * tt / decay * 0.1) / r;
            clip.add(s0 + i, 0, static_cast<float>(std::sin(kTwoPi * phase) * std::exp(-tt / decay) * g));
        }
    }
    // Motor: two-pole induction motor (100 Hz magnetic hum) turning a
    // six-vane pump, whose vanes beat at six times the shaft speed.
    const double shaft = whole(47.0, loopLength);
    Biquad body;
    body.setLowPass(rate, 1800.0, 0.707);
    std::vector<float> motor(clip.frames());
    for (std::size_t i = 0; i < clip.frames(); ++i)
    {
        const double t = static_cast<double>(i) / rate;
        const double vane = shaft * 6.0 * t;
        const double u = vane - std::floor(vane);
        const double pulse = std::exp(-u * 8.0) - 0.16;
        const double hum = std::sin(kTwoPi * 100.0 * t) * 0.5 + std::sin(kTwoPi * 200.0 * t + 0.4) * 0.2 +
                           std::sin(kTwoPi * 300.0 * t + 1.1) * 0.12 + std::sin(kTwoPi * shaft * t) * 0.2;
        motor[i] = static_cast<float>(hum * 0.12 + pulse * 0.16 * (1.0 + 0.2 * std::sin(kTwoPi * shaft * t)));
    }
    Clip motorClip(rate, 1, loopLength);
    motorClip.channel(0) = motor;
    motorClip.processLoop(0, [&](float x, std::size_t) { return body.process(x); });
    clip.mix(motorClip, 1.0f);
    clip.mix(flow, 1.0f);
    Biquad dc;
    dc.setHighPass(rate, 30.0, 0.707);
    clip.processLoop(0, [&](float x, std::size_t) { return dc.process(x); });
    kit::finishLoop(clip, -17.0);
    return clip;
}
}
}
