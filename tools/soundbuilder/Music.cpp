#include "Music.h"

#include "Clip.h"
#include "Instruments.h"
#include "Random.h"
#include "Reverb.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace soundbuilder
{
namespace music
{
namespace
{
struct Note
{
    double beat;
    double length;
    int pitch;
};

struct Chord
{
    int bass;
    std::vector<int> tones;
};

/// Parses "E5:1 r:.5 G#4:.5": pitch (or r for a rest) and length in beats.
std::vector<Note> melody(const std::string& text, double startBeat)
{
    static const int kPitchClass[] = {9, 11, 0, 2, 4, 5, 7}; // a..g
    std::vector<Note> notes;
    std::istringstream in(text);
    std::string token;
    double beat = startBeat;
    while (in >> token)
    {
        const std::size_t colon = token.find(':');
        const std::string name = token.substr(0, colon);
        const double length = std::atof(token.c_str() + colon + 1);
        if (name != "r")
        {
            const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(name[0])));
            int pitch = kPitchClass[letter - 'a'];
            std::size_t pos = 1;
            if (name[pos] == '#')
                ++pitch, ++pos;
            else if (name[pos] == 'b')
                --pitch, ++pos;
            pitch += 12 * (std::atoi(name.c_str() + pos) + 1);
            notes.push_back(Note{beat, length, pitch});
        }
        beat += length;
    }
    return notes;
}

/// Sums the buses, adds a shared room and evens out the peaks. The room runs
/// over the loop twice so its tail at the end is already heard at the start.
Clip master(int rate, double seconds, const std::vector<std::pair<const Clip*, float>>& buses,
            const std::vector<std::pair<const Clip*, float>>& sends, double roomSize)
{
    Clip mix(rate, 2, seconds);
    for (const auto& bus : buses)
        mix.mix(*bus.first, bus.second);

    Clip send(rate, 2, seconds);
    for (const auto& s : sends)
        send.mix(*s.first, s.second);
    Reverb room(rate, roomSize, 0.45);
    const std::size_t n = send.frames();
    std::vector<float>& left = send.channel(0);
    std::vector<float>& right = send.channel(1);
    // The room's tail dies away within a few seconds, so warming it up on the
    // loop's last four seconds leaves it as it would be after a full pass.
    const std::size_t warmUp = std::min(n, static_cast<std::size_t>(4 * rate));
    for (int pass = 0; pass < 2; ++pass)
    {
        for (std::size_t i = pass == 0 ? n - warmUp : 0; i < n; ++i)
        {
            float l = 0.0f, r = 0.0f;
            room.process(left[i], right[i], l, r);
            if (pass == 1)
            {
                mix.channel(0)[i] += l;
                mix.channel(1)[i] += r;
            }
        }
    }

    mix.normalize(1.0f);
    for (int c = 0; c < 2; ++c)
        for (float& s : mix.channel(c))
            s = static_cast<float>(std::tanh(1.4 * s) / std::tanh(1.4));
    mix.normalize(0.89f);
    return mix;
}
}

Clip mainMenu(int rate)
{
    const double bpm = 120.0;
    const double beat = 60.0 / bpm;
    const int bars = 16;
    const double seconds = bars * 4 * beat;
    Random random(0x4d454e55);

    const Chord kC{36, {60, 64, 67}}, kG{43, {59, 62, 67}}, kAm{45, {60, 64, 69}}, kF{41, {60, 65, 69}},
        kDm{38, {62, 65, 69}};
    const std::vector<Chord> progression = {kC, kG, kAm, kF, kC, kG, kF, kG, kAm, kF, kC, kG, kAm, kF, kDm, kG};

    Clip drums(rate, 2, seconds), bass(rate, 2, seconds), keys(rate, 2, seconds), pads(rate, 2, seconds),
        leadBus(rate, 2, seconds);

    for (int bar = 0; bar < bars; ++bar)
    {
        const double b0 = bar * 4.0;
        const Chord& chord = progression[bar];
        const bool fill = bar == bars - 1;

        // Drums: kick on 1 and 3 with a push before 3, claps on the backbeat.
        instruments::kick(drums, (b0 + 0.0) * beat, 0.9f);
        instruments::kick(drums, (b0 + 2.0) * beat, 0.85f);
        if (bar % 2 == 1)
            instruments::kick(drums, (b0 + 1.5) * beat, 0.55f);
        if (!fill)
            instruments::kick(drums, (b0 + 2.5) * beat, 0.6f);
        instruments::snare(drums, (b0 + 1.0) * beat, 0.55f, random);
        instruments::clap(drums, (b0 + 1.0) * beat, 0.45f, random);
        instruments::snare(drums, (b0 + 3.0) * beat, 0.55f, random);
        instruments::clap(drums, (b0 + 3.0) * beat, 0.45f, random);
        for (int e = 0; e < 8; ++e)
        {
            const bool offbeat = e % 2 == 1;
            const bool open = offbeat && e == 7 && bar % 2 == 1 && !fill;
            instruments::hat(drums, (b0 + e * 0.5) * beat, offbeat ? 0.42f : 0.26f, open, 0.3f, random);
        }
        if (bar % 4 == 0)
            instruments::crash(drums, b0 * beat, 0.35f, -0.3f, random);
        if (bar == 7)
        {
            // Half-way turnaround: a short snare run into the second half.
            for (int s = 0; s < 4; ++s)
                instruments::snare(drums, (b0 + 3.0 + s * 0.25) * beat, 0.25f + 0.08f * s, random);
        }
        if (fill)
        {
            instruments::tom(drums, (b0 + 3.0) * beat, 0.6f, 196.0, -0.4f);
            instruments::tom(drums, (b0 + 3.25) * beat, 0.6f, 165.0, -0.1f);
            instruments::tom(drums, (b0 + 3.5) * beat, 0.65f, 131.0, 0.2f);
            instruments::tom(drums, (b0 + 3.75) * beat, 0.7f, 110.0, 0.4f);
        }

        // Bass bouncing between root and octave.
        static const double kBassBeat[] = {0.0, 0.5, 1.0, 1.5, 2.0, 2.5, 3.0, 3.5};
        static const int kBassStep[] = {0, 12, 0, 12, 7, 12, 0, 7};
        for (int e = 0; e < 8; ++e)
        {
            const double len = (e % 2 == 0 ? 0.42 : 0.25) * beat;
            instruments::bass(bass, (b0 + kBassBeat[e]) * beat, len, chord.bass + kBassStep[e],
                              e % 2 == 0 ? 0.8f : 0.6f, 0.7);
        }

        // Off-beat piano stabs over a soft pad.
        for (int e = 0; e < 4; ++e)
            for (std::size_t k = 0; k < chord.tones.size(); ++k)
                instruments::electricPiano(keys, (b0 + e + 0.5) * beat, 0.3 * beat, chord.tones[k] + 12, 0.2f,
                                           -0.35f + 0.35f * static_cast<float>(k));
        for (std::size_t k = 0; k < chord.tones.size(); ++k)
            instruments::pad(pads, b0 * beat, 3.8 * beat, chord.tones[k], 0.22f, 0.4f - 0.4f * static_cast<float>(k));
    }

    const std::string tune =
        // A: the hook, twice with a different ending.
        "G4:.5 C5:.5 E5:1 D5:.5 C5:.5 E5:1 "
        "D5:1.5 B4:.5 G4:1 r:1 "
        "A4:.5 C5:.5 E5:1 D5:.5 C5:.5 A5:1 "
        "G5:1.5 F5:.5 E5:1 C5:1 "
        "G4:.5 C5:.5 E5:1 D5:.5 C5:.5 G5:1 "
        "G5:1 F5:.5 E5:.5 D5:2 "
        "C5:.5 D5:.5 F5:1 A5:1 G5:.5 F5:.5 "
        "D5:1.5 E5:.5 D5:1 B4:1 "
        // B: climbs, then turns back to the hook.
        "C5:1 E5:1 A5:1.5 G5:.5 "
        "F5:1 A5:1 C6:1.5 A5:.5 "
        "G5:1 E5:1 C5:1 E5:1 "
        "D5:.5 E5:.5 D5:.5 B4:.5 G4:2 "
        "A4:.5 B4:.5 C5:.5 E5:.5 A5:1 G5:1 "
        "F5:.5 E5:.5 F5:.5 A5:.5 C6:2 "
        "D6:1 C6:.5 A5:.5 F5:1 D5:1 "
        "B4:1 D5:1 G5:1 F5:.5 D5:.5";
    for (const Note& n : melody(tune, 0.0))
    {
        const bool strong = std::fmod(n.beat, 1.0) == 0.0;
        instruments::lead(leadBus, n.beat * beat, n.length * beat * 0.92, n.pitch, strong ? 0.34f : 0.28f, 0.1f, 1.0);
        // A quiet octave-down double makes the hook carry.
        instruments::electricPiano(leadBus, n.beat * beat, n.length * beat * 0.9, n.pitch - 12, 0.12f, -0.15f);
    }

    return master(rate, seconds,
                  {{&drums, 0.55f}, {&bass, 0.75f}, {&keys, 0.9f}, {&pads, 0.8f}, {&leadBus, 0.9f}},
                  {{&drums, 0.05f}, {&keys, 0.35f}, {&pads, 0.3f}, {&leadBus, 0.4f}}, 0.6);
}

Clip level(int rate)
{
    const double bpm = 125.0;
    const double beat = 60.0 / bpm;
    const int bars = 16;
    const double seconds = bars * 4 * beat;
    Random random(0x4c4556454cull);

    const Chord kAm{33, {57, 60, 64}}, kF{29, {57, 60, 65}}, kC{36, {55, 60, 64}}, kG{31, {55, 59, 62}},
        kDm{38, {57, 62, 65}}, kE{40, {56, 59, 64}};
    const std::vector<Chord> progression = {kAm, kF, kC, kG, kAm, kF, kC, kG, kDm, kF, kAm, kG, kAm, kF, kC, kE};

    Clip drums(rate, 2, seconds), bass(rate, 2, seconds), arp(rate, 2, seconds), pads(rate, 2, seconds),
        leadBus(rate, 2, seconds);

    for (int bar = 0; bar < bars; ++bar)
    {
        const double b0 = bar * 4.0;
        const Chord& chord = progression[bar];
        const bool fill = bar == bars - 1;

        // Four on the floor, backbeat, running sixteenth hats; the kick thins
        // out for two bars before the final build.
        const bool breakdown = bar == 12 || bar == 13;
        for (int b = 0; b < 4; ++b)
            if (!breakdown || b % 2 == 0)
                instruments::kick(drums, (b0 + b) * beat, b == 0 ? 0.95f : 0.85f);
        if (bar == 15)
            instruments::riser(drums, b0 * beat, 4.0 * beat, 0.35f, random);
        instruments::snare(drums, (b0 + 1.0) * beat, 0.6f, random);
        if (!fill)
            instruments::snare(drums, (b0 + 3.0) * beat, 0.6f, random);
        instruments::clap(drums, (b0 + 1.0) * beat, 0.3f, random);
        instruments::clap(drums, (b0 + 3.0) * beat, 0.3f, random);
        for (int s = 0; s < 16; ++s)
        {
            const bool offbeat = s % 4 == 2;
            const float velocity = offbeat ? 0.4f : (s % 2 == 0 ? 0.24f : 0.15f);
            instruments::hat(drums, (b0 + s * 0.25) * beat, velocity, offbeat, s % 2 == 0 ? 0.25f : -0.25f, random);
        }
        if (bar == 0 || bar == 8)
            instruments::crash(drums, b0 * beat, 0.4f, 0.3f, random);
        if (fill)
        {
            for (int s = 0; s < 8; ++s)
                instruments::snare(drums, (b0 + 2.0 + s * 0.25) * beat, 0.25f + 0.05f * s, random);
            instruments::tom(drums, (b0 + 3.5) * beat, 0.6f, 147.0, -0.3f);
            instruments::tom(drums, (b0 + 3.75) * beat, 0.65f, 98.0, 0.3f);
        }

        // Pumping eighth-note bass.
        static const int kBassStep[] = {0, 0, 12, 0, 0, 12, 0, 7};
        for (int e = 0; e < 8; ++e)
            instruments::bass(bass, (b0 + e * 0.5) * beat, 0.36 * beat, chord.bass + 12 + kBassStep[e],
                              e % 2 == 0 ? 0.85f : 0.7f, 0.55 + 0.1 * (e % 2));

        // Sixteenth arpeggio over the chord, bouncing between the speakers.
        static const int kArpIndex[] = {0, 1, 2, 3, 2, 1, 0, 1};
        for (int s = 0; s < 16; ++s)
        {
            const int idx = kArpIndex[s % 8];
            const int pitch = idx == 3 ? chord.tones[0] + 12 : chord.tones[static_cast<std::size_t>(idx)];
            instruments::pluck(arp, (b0 + s * 0.25) * beat, 0.2 * beat, pitch + 12, s % 4 == 0 ? 0.24f : 0.18f,
                               s % 2 == 0 ? -0.45f : 0.45f);
        }
        for (std::size_t k = 0; k < chord.tones.size(); ++k)
            instruments::pad(pads, b0 * beat, 3.85 * beat, chord.tones[k], 0.2f, -0.4f + 0.4f * static_cast<float>(k));
    }

    // The lead enters after four bars of groove.
    const std::string tune =
        "E5:1 A5:1 C6:.5 B5:.5 A5:1 "
        "C6:1.5 A5:.5 F5:1 A5:1 "
        "G5:1 E5:.5 G5:.5 C6:1.5 D6:.5 "
        "B5:1.5 A5:.5 G5:1 D5:1 "
        "F5:.5 E5:.5 D5:1 A5:1 F5:1 "
        "C6:1 A5:.5 C6:.5 D6:1 C6:1 "
        "E6:1.5 D6:.5 C6:1 A5:1 "
        "B5:1 G5:1 D6:1 B5:1 "
        "A5:.5 B5:.5 C6:.5 B5:.5 A5:1 E5:1 "
        "F5:.5 G5:.5 A5:.5 C6:.5 F6:1 E6:.5 C6:.5 "
        "E6:1 D6:.5 C6:.5 G5:1 C6:1 "
        "B5:.5 G#5:.5 E5:.5 G#5:.5 B5:2";
    for (const Note& n : melody(tune, 16.0))
    {
        const bool strong = std::fmod(n.beat, 1.0) == 0.0;
        instruments::lead(leadBus, n.beat * beat, n.length * beat * 0.9, n.pitch - 12, strong ? 0.3f : 0.26f, -0.1f,
                          1.3);
        instruments::lead(leadBus, n.beat * beat, n.length * beat * 0.9, n.pitch, 0.12f, 0.2f, 0.8);
    }

    return master(rate, seconds,
                  {{&drums, 0.45f}, {&bass, 0.7f}, {&arp, 0.9f}, {&pads, 0.7f}, {&leadBus, 1.1f}},
                  {{&drums, 0.04f}, {&arp, 0.3f}, {&pads, 0.3f}, {&leadBus, 0.35f}}, 0.5);
}
}
}
