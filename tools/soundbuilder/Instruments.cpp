#include "Instruments.h"

#include "Biquad.h"
#include "Clip.h"
#include "Decay.h"
#include "Oscillator.h"
#include "Random.h"
#include "Svf.h"

#include <cmath>

namespace soundbuilder
{
namespace instruments
{
namespace
{
constexpr double kTwoPi = 6.28318530717958647692;

long long startFrame(const Clip& out, double time)
{
    return std::llround(time * out.rate());
}

long long lengthFrames(const Clip& out, double seconds)
{
    return std::llround(seconds * out.rate());
}

/// Gentle fade over the last 5 % of a rendered tail, so cutting it off is silent.
double fadeOut(long long i, long long n)
{
    const long long fade = n / 20 + 1;
    const long long left = n - i;
    return left >= fade ? 1.0 : static_cast<double>(left) / fade;
}

/// Attack, hold for the note length, then an exponential release.
double gate(double t, double length, double attack, double release)
{
    const double a = attack > 0.0 ? std::fmin(1.0, t / attack) : 1.0;
    if (t <= length)
        return a;
    return a * std::exp(-(t - length) / release);
}

/// Six detuned squares: the metallic core of cymbals and hats.
double metal(double t)
{
    static const double kFreqs[] = {205.3, 304.4, 369.6, 522.7, 540.0, 800.0};
    double sum = 0.0;
    for (double f : kFreqs)
    {
        const double p = t * f * 1.7;
        sum += (p - std::floor(p)) < 0.5 ? 1.0 : -1.0;
    }
    return sum / 6.0;
}
}

void kick(Clip& out, double time, float velocity)
{
    const int rate = out.rate();
    const long long start = startFrame(out, time);
    const long long n = lengthFrames(out, 0.5);
    double phase = 0.0;
    Decay sweep(0.028, rate), amp(0.24, rate), clickAmp(0.003, rate);
    float gains[2];
    out.panGains(0.0f, gains);
    for (long long i = 0; i < n; ++i)
    {
        const double t = static_cast<double>(i) / rate;
        const double f = 46.0 + 125.0 * sweep.next();
        phase += f / rate;
        const double body = std::sin(kTwoPi * phase) * amp.next() * std::fmin(1.0, t / 0.001);
        const double click = std::sin(kTwoPi * 1800.0 * t) * clickAmp.next() * 0.25;
        const double v = std::tanh((body + click) * 1.6) * velocity * fadeOut(i, n);
        out.addGains(start + i, static_cast<float>(v), gains);
    }
}

void snare(Clip& out, double time, float velocity, Random& random)
{
    const int rate = out.rate();
    const long long start = startFrame(out, time);
    const long long n = lengthFrames(out, 0.35);
    Biquad band;
    band.setBandPass(rate, 3800.0, 0.7);
    Biquad high;
    high.setHighPass(rate, 900.0, 0.7);
    Decay bodyAmp(0.055, rate), noiseAmp(0.11, rate);
    float gains[2];
    out.panGains(0.05f, gains);
    for (long long i = 0; i < n; ++i)
    {
        const double t = static_cast<double>(i) / rate;
        const double body =
            (std::sin(kTwoPi * 185.0 * t) * 0.7 + std::sin(kTwoPi * 330.0 * t) * 0.35) * bodyAmp.next();
        const double noise = high.process(band.process(static_cast<float>(random.bipolar()))) * 2.2;
        const double v = (body * 0.55 + noise * noiseAmp.next()) * std::fmin(1.0, t / 0.0008) * fadeOut(i, n);
        out.addGains(start + i, static_cast<float>(v * velocity), gains);
    }
}

void clap(Clip& out, double time, float velocity, Random& random)
{
    const int rate = out.rate();
    const long long start = startFrame(out, time);
    const long long n = lengthFrames(out, 0.3);
    Biquad band;
    band.setBandPass(rate, 1300.0, 1.2);
    Decay room(0.09, rate);
    float gains[2];
    out.panGains(-0.1f, gains);
    for (long long i = 0; i < n; ++i)
    {
        const double t = static_cast<double>(i) / rate;
        // Several hands a few milliseconds apart, then the room.
        double env = room.next() * 0.6;
        for (int k = 0; k < 3; ++k)
        {
            const double tk = t - k * 0.011;
            if (tk >= 0.0 && tk < 0.05)
                env += std::exp(-tk / 0.006);
        }
        const double v = band.process(static_cast<float>(random.bipolar())) * env * 2.5 * fadeOut(i, n);
        out.addGains(start + i, static_cast<float>(v * velocity), gains);
    }
}

void hat(Clip& out, double time, float velocity, bool open, float pan, Random& random)
{
    const int rate = out.rate();
    const long long start = startFrame(out, time);
    const double decay = open ? 0.2 : 0.032;
    const long long n = lengthFrames(out, decay * 6.0);
    Biquad band;
    band.setBandPass(rate, 10000.0, 1.0);
    Biquad high;
    high.setHighPass(rate, 7000.0, 0.7);
    Decay amp(decay, rate);
    float gains[2];
    out.panGains(pan, gains);
    for (long long i = 0; i < n; ++i)
    {
        const double t = static_cast<double>(i) / rate;
        const double src = metal(t) * 0.6 + random.bipolar() * 0.5;
        const double v = high.process(band.process(static_cast<float>(src))) * amp.next() * fadeOut(i, n);
        out.addGains(start + i, static_cast<float>(v * velocity * 1.4), gains);
    }
}

void crash(Clip& out, double time, float velocity, float pan, Random& random)
{
    const int rate = out.rate();
    const long long start = startFrame(out, time);
    const long long n = lengthFrames(out, 3.0);
    Biquad high;
    high.setHighPass(rate, 3500.0, 0.6);
    Biquad body;
    body.setPeak(rate, 6000.0, 0.8, 6.0);
    Decay amp(0.7, rate);
    float gains[2];
    out.panGains(pan, gains);
    for (long long i = 0; i < n; ++i)
    {
        const double t = static_cast<double>(i) / rate;
        const double src = metal(t * 1.31) * 0.5 + random.bipolar() * 0.7;
        const double env = amp.next() * std::fmin(1.0, t / 0.002) * fadeOut(i, n);
        const double v = body.process(high.process(static_cast<float>(src))) * env;
        out.addGains(start + i, static_cast<float>(v * velocity), gains);
    }
}

void tom(Clip& out, double time, float velocity, double pitch, float pan)
{
    const int rate = out.rate();
    const long long start = startFrame(out, time);
    const long long n = lengthFrames(out, 0.45);
    double phase = 0.0;
    Decay sweep(0.04, rate), amp(0.16, rate);
    float gains[2];
    out.panGains(pan, gains);
    for (long long i = 0; i < n; ++i)
    {
        const double t = static_cast<double>(i) / rate;
        phase += pitch * (1.0 + 0.6 * sweep.next()) / rate;
        const double v = std::sin(kTwoPi * phase) * amp.next() * std::fmin(1.0, t / 0.001) * fadeOut(i, n);
        out.addGains(start + i, static_cast<float>(v * velocity), gains);
    }
}

void riser(Clip& out, double time, double length, float velocity, Random& random)
{
    const int rate = out.rate();
    const long long start = startFrame(out, time);
    const long long n = lengthFrames(out, length);
    Svf left, right;
    for (long long i = 0; i < n; ++i)
    {
        const double x = static_cast<double>(i) / static_cast<double>(n);
        const double cutoff = 300.0 * std::pow(30.0, x);
        const double env = x * x * std::fmin(1.0, (1.0 - x) * 12.0);
        const float l = left.bandPass(static_cast<float>(random.bipolar()), rate, cutoff, 0.6);
        const float r = right.bandPass(static_cast<float>(random.bipolar()), rate, cutoff, 0.6);
        out.add(start + i, 0, static_cast<float>(l * env * velocity));
        if (out.channels() > 1)
            out.add(start + i, 1, static_cast<float>(r * env * velocity));
    }
}

void bass(Clip& out, double time, double length, int note, float velocity, double brightness)
{
    const int rate = out.rate();
    const long long start = startFrame(out, time);
    const double release = 0.05;
    const long long n = lengthFrames(out, length + release * 6.0);
    const double f = Oscillator::midiToHz(note);
    Oscillator saw, sub, square(0.25);
    Svf filter;
    Decay sweep(0.07, rate);
    float gains[2];
    out.panGains(0.0f, gains);
    for (long long i = 0; i < n; ++i)
    {
        const double t = static_cast<double>(i) / rate;
        const double src = saw.saw(f, rate) * 0.55 + square.square(f, rate, 0.5) * 0.25 + sub.sine(f, rate) * 0.6;
        const double cutoff = 180.0 + brightness * (350.0 + 2200.0 * sweep.next());
        const double v = filter.lowPass(static_cast<float>(src), rate, cutoff, 0.45) * gate(t, length, 0.003, release);
        out.addGains(start + i, static_cast<float>(v * velocity * fadeOut(i, n)), gains);
    }
}

void pluck(Clip& out, double time, double length, int note, float velocity, float pan)
{
    const int rate = out.rate();
    const long long start = startFrame(out, time);
    const double release = 0.06;
    const long long n = lengthFrames(out, length + release * 6.0);
    const double f = Oscillator::midiToHz(note);
    Oscillator a, b(0.3);
    Svf filter;
    Decay sweep(0.05, rate), amp(0.22, rate);
    float gains[2];
    out.panGains(pan, gains);
    for (long long i = 0; i < n; ++i)
    {
        const double t = static_cast<double>(i) / rate;
        const double src = a.square(f, rate, 0.3) * 0.6 + b.saw(f * 1.004, rate) * 0.4;
        const double cutoff = 500.0 + 4200.0 * sweep.next();
        const double env = amp.next() * gate(t, length, 0.002, release) * fadeOut(i, n);
        const double v = filter.lowPass(static_cast<float>(src), rate, cutoff, 0.35) * env;
        out.addGains(start + i, static_cast<float>(v * velocity), gains);
    }
}

void electricPiano(Clip& out, double time, double length, int note, float velocity, float pan)
{
    const int rate = out.rate();
    const long long start = startFrame(out, time);
    const double release = 0.12;
    const long long n = lengthFrames(out, length + release * 5.0);
    const double f = Oscillator::midiToHz(note);
    Decay indexDecay(0.18, rate), tineDecay(0.02, rate), amp(1.1, rate);
    float gains[2];
    out.panGains(pan, gains);
    const long long tineFrames = lengthFrames(out, 0.15);
    for (long long i = 0; i < n; ++i)
    {
        const double t = static_cast<double>(i) / rate;
        const double index = 1.8 * indexDecay.next() + 0.25;
        const double tine = i < tineFrames ? Oscillator::fastSin(f * 13.0 * t) * tineDecay.next() * 0.6 : 0.0;
        const double carrier = f * t;
        const double mod = Oscillator::fastSin(carrier) * index + tine;
        const double tone = Oscillator::fastSin(carrier + mod / kTwoPi);
        const double env = amp.next() * gate(t, length, 0.002, release) * fadeOut(i, n);
        out.addGains(start + i, static_cast<float>(tone * env * velocity), gains);
    }
}

void pad(Clip& out, double time, double length, int note, float velocity, float pan)
{
    const int rate = out.rate();
    const long long start = startFrame(out, time);
    const double release = 0.35;
    const long long n = lengthFrames(out, length + release * 5.0);
    const double f = Oscillator::midiToHz(note);
    Oscillator o1(0.0), o2(0.33), o3(0.71);
    Svf filter;
    float gains[2];
    out.panGains(pan, gains);
    for (long long i = 0; i < n; ++i)
    {
        const double t = static_cast<double>(i) / rate;
        const double src = o1.saw(f * 0.996, rate) + o2.saw(f, rate) + o3.saw(f * 1.0045, rate);
        const double cutoff = 900.0 + 700.0 * std::sin(kTwoPi * 0.25 * t + note);
        const double env = gate(t, length, 0.09, release) * fadeOut(i, n);
        const double v = filter.lowPass(static_cast<float>(src / 3.0), rate, cutoff, 0.2) * env;
        out.addGains(start + i, static_cast<float>(v * velocity), gains);
    }
}

void lead(Clip& out, double time, double length, int note, float velocity, float pan, double brightness)
{
    const int rate = out.rate();
    const long long start = startFrame(out, time);
    const double release = 0.09;
    const long long n = lengthFrames(out, length + release * 6.0);
    const double f = Oscillator::midiToHz(note);
    Oscillator a, b(0.5);
    Svf filter;
    Decay sweep(0.12, rate), accent(0.1, rate);
    float gains[2];
    out.panGains(pan, gains);
    for (long long i = 0; i < n; ++i)
    {
        const double t = static_cast<double>(i) / rate;
        const double vibratoDepth = std::fmin(1.0, std::fmax(0.0, (t - 0.18) / 0.25)) * 0.012;
        const double fv = f * (1.0 + vibratoDepth * std::sin(kTwoPi * 5.6 * t));
        const double src = a.square(fv, rate, 0.5) * 0.5 + b.saw(fv * 1.003, rate) * 0.5;
        const double cutoff = (1200.0 + 2600.0 * sweep.next()) * brightness + 600.0;
        const double env = gate(t, length, 0.006, release) * (0.8 + 0.2 * accent.next()) * fadeOut(i, n);
        const double v = filter.lowPass(static_cast<float>(src), rate, cutoff, 0.25) * env;
        out.addGains(start + i, static_cast<float>(v * velocity), gains);
    }
}
}
}
