#pragma once

namespace soundbuilder
{
class Clip;
class Random;

/// The band: each call renders one hit or note into a clip at a time in
/// seconds. Every note carries its own voice state, so notes that ring past
/// the end of a loop wrap round cleanly.
namespace instruments
{
void kick(Clip& out, double time, float velocity);
void snare(Clip& out, double time, float velocity, Random& random);
void clap(Clip& out, double time, float velocity, Random& random);
void hat(Clip& out, double time, float velocity, bool open, float pan, Random& random);
void crash(Clip& out, double time, float velocity, float pan, Random& random);
void tom(Clip& out, double time, float velocity, double pitch, float pan);
/// Noise sweeping up into the next section, easing off just before it.
void riser(Clip& out, double time, double length, float velocity, Random& random);

void bass(Clip& out, double time, double length, int note, float velocity, double brightness);
/// Short filtered square pluck, for arpeggios.
void pluck(Clip& out, double time, double length, int note, float velocity, float pan);
/// Two-operator FM electric piano.
void electricPiano(Clip& out, double time, double length, int note, float velocity, float pan);
/// Detuned saws under a soft low pass.
void pad(Clip& out, double time, double length, int note, float velocity, float pan);
/// Bright square-and-saw lead with delayed vibrato.
void lead(Clip& out, double time, double length, int note, float velocity, float pan, double brightness);
}
}
