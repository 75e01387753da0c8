#include "Effects.h"

#include "Biquad.h"
#include "Clip.h"
#include "EffectKit.h"
#include "Random.h"

#include <cmath>
#include <functional>

namespace soundbuilder
{
namespace effects
{
namespace
{
using kit::kTwoPi;

/// What drives the engine model over time: crankshaft speed and throttle.
struct EngineInput
{
    std::function<double(double)> rpm;
    std::function<double(double)> load;
    /// Seconds at which the loop starts and its length; the engine's speed is
    /// steady from before the loop start, and the loop holds a whole number
    /// of engine cycles, so the end runs on into the loop start.
    double loopStart;
    double loopLength;
    /// Fine speed unsteadiness, in parts of the speed.
    double roughness;
};

/// Four-cylinder four-stroke diesel: the crank's firing phase drives a
/// combustion pulse per cylinder (uneven, as in a real engine) through the
/// block and exhaust resonances, with injector clatter at each firing, a
/// gear whine, a turbo whistle and intake roar riding on the same phase.
void renderEngine(Clip& out, const EngineInput& in, float gain, Random& random)
{
    const int rate = out.rate();
    const std::size_t frames = out.frames();
    const std::size_t loopStart = out.frameAt(in.loopStart);
    const std::size_t loopFrames = frames - loopStart;
    const std::vector<float> noiseA = kit::noiseTable(loopFrames, random);
    const std::vector<float> noiseB = kit::noiseTable(loopFrames, random);

    static const double kCylinderGain[] = {1.0, 0.8, 0.93, 0.74};
    static const double kCylinderTiming[] = {0.0, 0.035, -0.02, 0.025};

    // No two combustions are alike: each firing of the loop gets its own
    // strength and timing, repeating with the loop (the loop holds a whole
    // number of firings, so the firing count modulo it lines up at the seam).
    const std::size_t firingsPerLoop = static_cast<std::size_t>(
        std::llround(in.rpm(in.loopStart) / 30.0 * in.loopLength));
    std::vector<double> firingGain(firingsPerLoop), firingTiming(firingsPerLoop);
    for (std::size_t f = 0; f < firingsPerLoop; ++f)
    {
        firingGain[f] = 1.0 + 0.14 * random.bipolar();
        firingTiming[f] = 0.018 * random.bipolar();
    }

    Biquad rumble, exhaust, exhaustHigh, block, clatterHigh, clatterBand, clatterBand2, intake, puffLow, dc;
    puffLow.setLowPass(rate, 1100.0, 0.6);
    rumble.setLowPass(rate, 170.0, 0.9);
    exhaust.setBandPass(rate, 85.0, 2.5);
    exhaustHigh.setBandPass(rate, 310.0, 3.0);
    block.setBandPass(rate, 1150.0, 1.5);
    clatterHigh.setHighPass(rate, 1400.0, 0.7);
    clatterBand.setBandPass(rate, 3100.0, 1.1);
    clatterBand2.setBandPass(rate, 5600.0, 2.0);
    intake.setBandPass(rate, 650.0, 0.8);
    dc.setHighPass(rate, 28.0, 0.707);

    // A short tube resonance gives the exhaust its hollow note.
    std::vector<float> pipe(static_cast<std::size_t>(rate * 0.0052), 0.0f);
    std::size_t pipeIndex = 0;

    double phi = 0.0;
    for (std::size_t i = 0; i < frames; ++i)
    {
        const double t = static_cast<double>(i) / rate;
        const double loopT = (t - in.loopStart) / in.loopLength;
        const double wobble = 1.0 + in.roughness * (0.6 * std::sin(kTwoPi * 3.0 * loopT) +
                                                    0.4 * std::sin(kTwoPi * 7.0 * loopT + 1.3));
        const double rpm = in.rpm(t) * wobble;
        const double load = in.load(t);
        const double firingRate = rpm / 30.0;
        phi += firingRate / rate;

        const double whole = std::floor(phi);
        const double u = phi - whole;
        const int cylinder = static_cast<int>(static_cast<long long>(whole) & 3);
        const std::size_t firing = static_cast<std::size_t>(static_cast<long long>(whole)) % firingsPerLoop;
        const double cylGain = kCylinderGain[cylinder] * firingGain[firing];

        // Combustion pressure pulse: raised cosine a little after top dead centre.
        const double centre = 0.14 + kCylinderTiming[cylinder] + firingTiming[firing];
        const double width = 0.09;
        double pulse = 0.0;
        if (std::fabs(u - centre) < width)
            pulse = 0.5 + 0.5 * std::cos(3.14159265358979323846 * (u - centre) / width);
        const double strength = cylGain * (0.35 + 0.65 * load);
        const double excitation = pulse * strength;

        // Injector knock: a sharp noisy tick at each firing.
        const double tau = u / firingRate;
        const std::size_t k = kit::loopIndex(i, loopStart, loopFrames);
        const double knockEnv = std::exp(-tau / 0.0016) * cylGain * (0.25 + 0.75 * load);
        const double knock = noiseA[k] * knockEnv;
        const double clatter =
            clatterBand.process(clatterHigh.process(static_cast<float>(knock))) * 1.2 +
            clatterBand2.process(static_cast<float>(knock)) * 0.5;

        // Each exhaust stroke pushes a breathy puff of gas out of the pipe.
        const double puffEnv = std::exp(-tau / 0.009) * (1.0 - std::exp(-tau / 0.0015));
        const double puff = puffLow.process(static_cast<float>(noiseB[(k + loopFrames / 2) % loopFrames] * puffEnv *
                                                               cylGain * (0.4 + 0.6 * load)));

        const double body = rumble.process(static_cast<float>(excitation)) * 1.6 +
                            exhaust.process(static_cast<float>(excitation)) * 1.3 +
                            exhaustHigh.process(static_cast<float>(excitation)) * 0.5 +
                            block.process(static_cast<float>(excitation)) * 0.25;
        const float piped = static_cast<float>(body + pipe[pipeIndex] * 0.45);
        pipe[pipeIndex] = piped;
        if (++pipeIndex >= pipe.size())
            pipeIndex = 0;

        // Gear whine and turbo whistle turn with the crank; their ratios to the
        // firing phase keep them whole over the loop.
        const double speed = rpm / 2100.0;
        const double whine = std::sin(kTwoPi * 7.5 * phi) * 0.012 * speed;
        const double turbo = (std::sin(kTwoPi * 40.0 * phi) + 0.3 * std::sin(kTwoPi * 80.0 * phi)) * 0.006 *
                             load * speed * speed;
        const double air = intake.process(noiseB[k]) * (0.05 + 0.12 * speed * speed) * (0.5 + 0.5 * load);

        const double mixed = piped + clatter * 0.55 + puff * 2.4 + whine + turbo + air;
        const double shaped = std::tanh(mixed * 1.5) / 1.5;
        out.channel(0)[i] = dc.process(static_cast<float>(shaped)) * gain;
    }
}

/// Drive and slow-down share one level: the game switches between them, and
/// the cruise at the start of one must be as loud as the cruise of the other.
void level(Clip& clip)
{
    clip.scale(0.85f);
    if (clip.peak() > 0.95f)
        clip.normalize(0.95f);
}
}

Clip drive(int rate)
{
    const double loopLength = 4.0;
    Clip clip(rate, 1, kDriveLoopStart + loopLength);
    clip.setLoopStart(clip.frameAt(kDriveLoopStart));
    Random random(0x44524956);

    // Pull away from idle, shift up around 2.4 s, settle to 2100 rpm (70 firings
    // a second, 280 in the 4 s loop: a whole number of engine cycles).
    const kit::Curve rpm({{0.0, 780.0}, {0.35, 800.0}, {2.3, 2250.0}, {2.72, 1450.0}, {4.6, 2060.0}, {5.1, 2100.0}});
    const kit::Curve load({{0.0, 0.15}, {0.3, 0.15}, {0.55, 1.0}, {2.25, 1.0}, {2.38, 0.1}, {2.68, 0.1}, {2.85, 0.9},
                           {4.4, 0.85}, {5.1, 0.65}});
    EngineInput input{rpm, load, kDriveLoopStart, loopLength, 0.004};
    renderEngine(clip, input, 1.0f, random);

    // Tyres on the apron concrete: rolling roar that grows with speed.
    Clip tyres(rate, 1, clip.seconds());
    tyres.setLoopStart(clip.loopStart());
    const std::vector<float> roll = kit::noiseTable(clip.frames() - clip.loopStart(), random);
    Biquad low, band;
    low.setLowPass(rate, 420.0, 0.7);
    band.setBandPass(rate, 160.0, 1.2);
    const kit::Curve speed({{0.0, 0.0}, {0.4, 0.0}, {2.3, 0.55}, {2.72, 0.55}, {5.1, 1.0}});
    for (std::size_t i = 0; i < clip.frames(); ++i)
    {
        const float n = roll[kit::loopIndex(i, clip.loopStart(), roll.size())];
        const double v = (low.process(n) * 0.6 + band.process(n) * 0.5) * speed(static_cast<double>(i) / rate);
        clip.channel(0)[i] += static_cast<float>(v * 0.18);
    }
    level(clip);
    return clip;
}

Clip slowdown(int rate)
{
    const double loopLength = 2.4;
    Clip clip(rate, 1, kSlowdownLoopStart + loopLength);
    clip.setLoopStart(clip.frameAt(kSlowdownLoopStart));
    Random random(0x534c4f57);

    // Off the throttle from cruise, engine braking down to a 750 rpm idle
    // (25 firings a second, 60 in the 2.4 s idle loop).
    const kit::Curve rpm({{0.0, 2100.0}, {0.2, 2020.0}, {1.6, 1250.0}, {2.9, 790.0}, {3.3, 750.0}});
    const kit::Curve load({{0.0, 0.65}, {0.12, 0.65}, {0.35, 0.05}, {2.4, 0.05}, {3.3, 0.3}});
    EngineInput input{rpm, load, kSlowdownLoopStart, loopLength, 0.012};
    renderEngine(clip, input, 1.0f, random);

    const double end = kSlowdownLoopStart - 0.3;
    // Brakes: a faint squeal and the drag of the pads while the truck slows.
    Biquad drag;
    drag.setLowPass(rate, 260.0, 0.8);
    Biquad hissHigh, hissBand;
    hissHigh.setHighPass(rate, 2200.0, 0.7);
    hissBand.setBandPass(rate, 4800.0, 0.9);
    const std::size_t endFrame = clip.frameAt(end);
    for (std::size_t i = 0; i < endFrame; ++i)
    {
        const double t = static_cast<double>(i) / rate;
        // The squeal stutters as the pads grab and slip.
        const double squealEnv = kit::window(t, 0.7, 2.1);
        const double stutter = 0.55 + 0.45 * std::sin(kTwoPi * (13.0 * t + 0.3 * std::sin(kTwoPi * 2.1 * t)));
        const double squeal = (std::sin(kTwoPi * (2380.0 * t + 0.8 * std::sin(kTwoPi * 5.5 * t))) +
                               0.3 * std::sin(kTwoPi * (3517.0 * t + 0.6 * std::sin(kTwoPi * 4.1 * t))) +
                               0.2 * std::sin(kTwoPi * 4760.0 * t)) *
                              squealEnv * squealEnv * stutter * 0.025;
        const double dragV = drag.process(static_cast<float>(random.bipolar())) * kit::window(t, 0.3, 2.7) * 0.35;
        // The parking brake's air release once the truck has stopped.
        const double hissEnv = t < 2.85 ? 0.0 : std::fmin(1.0, (t - 2.85) / 0.01) * std::exp(-(t - 2.86) / 0.16);
        const double fade = std::fmin(1.0, (end - t) / 0.15);
        const double hiss =
            hissBand.process(hissHigh.process(static_cast<float>(random.bipolar()))) * hissEnv * fade * 0.6;
        clip.channel(0)[i] += static_cast<float>(squeal + dragV + hiss);
    }
    level(clip);
    return clip;
}
}
}
