// Synthesises the game's music and sound effects as Ogg Vorbis files.
// Usage: soundbuilder <asset dir> [sound name ...]   (no names: all sounds)
//        soundbuilder --bench <asset dir>           (all sounds, with timings)
#include "Clip.h"
#include "Effects.h"
#include "Music.h"
#include "OggEncoder.h"

#include <cstdio>
#include <cstring>
#include <ctime>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace
{
using soundbuilder::Clip;

struct Sound
{
    const char* name;
    const char* folder;
    std::function<Clip(int)> make;
    int rate;
    float quality;
};

const int kMusicRate = 44100;
const int kEffectRate = 44100;

const std::vector<Sound>& sounds()
{
    using namespace soundbuilder;
    static const std::vector<Sound> list = {
        {"KB_Mainmenu", "music", music::mainMenu, kMusicRate, 0.35f},
        {"KB_Level", "music", music::level, kMusicRate, 0.35f},
        {"atmo_airport", "sfx", effects::airportAtmosphere, kEffectRate, 0.3f},
        {"drive", "sfx", effects::drive, kEffectRate, 0.35f},
        {"slowdown", "sfx", effects::slowdown, kEffectRate, 0.35f},
        {"catering_updown", "sfx", effects::cateringLift, kEffectRate, 0.35f},
        {"catering_load", "sfx", effects::cateringLoad, kEffectRate, 0.35f},
        {"repair_click", "sfx", effects::repairClick, kEffectRate, 0.4f},
        {"baggage_load", "sfx", effects::baggageLoad, kEffectRate, 0.35f},
        {"fuel_pump", "sfx", effects::fuelPump, kEffectRate, 0.35f},
    };
    return list;
}

bool makeDir(const std::string& path)
{
    if (mkdir(path.c_str(), 0755) == 0)
        return true;
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

struct Timing
{
    double seconds = 0.0;
    double synthesis = 0.0;
    double encoding = 0.0;
};

bool build(const Sound& sound, const std::string& assetDir, Timing* timing = nullptr)
{
    const std::string dir = assetDir + "/" + sound.folder;
    if (!makeDir(assetDir) || !makeDir(dir))
    {
        std::fprintf(stderr, "soundbuilder: cannot create %s\n", dir.c_str());
        return false;
    }
    // Processor time, not wall time: the figures stay comparable on a busy machine.
    const std::clock_t start = std::clock();
    const Clip clip = sound.make(sound.rate);
    const std::clock_t made = std::clock();
    const bool ok = soundbuilder::OggEncoder(sound.quality).write(clip, sound.name, dir + "/" + sound.name + ".ogg");
    if (timing)
    {
        timing->seconds = clip.seconds();
        timing->synthesis = static_cast<double>(made - start) / CLOCKS_PER_SEC;
        timing->encoding = static_cast<double>(std::clock() - made) / CLOCKS_PER_SEC;
    }
    return ok;
}

int bench(const std::string& assetDir)
{
    std::printf("%-18s %9s %9s %9s %10s\n", "sound", "length s", "synth cpu", "enc cpu", "bytes");
    Timing total;
    bool ok = true;
    for (const Sound& s : sounds())
    {
        Timing t;
        ok = build(s, assetDir, &t) && ok;
        const std::string path = assetDir + "/" + s.folder + "/" + s.name + ".ogg";
        struct stat st;
        const long long bytes = stat(path.c_str(), &st) == 0 ? static_cast<long long>(st.st_size) : -1;
        std::printf("%-18s %9.2f %9.3f %9.3f %10lld\n", s.name, t.seconds, t.synthesis, t.encoding, bytes);
        total.synthesis += t.synthesis;
        total.encoding += t.encoding;
    }
    std::printf("%-18s %9s %9.3f %9.3f\n", "total (one core)", "", total.synthesis, total.encoding);
    return ok ? 0 : 1;
}
}

int main(int argc, char** argv)
{
    if (argc < 2)
    {
        std::fprintf(stderr, "usage: soundbuilder <asset dir> [sound name ...]\n");
        return 2;
    }
    if (std::strcmp(argv[1], "--bench") == 0)
    {
        if (argc != 3)
        {
            std::fprintf(stderr, "usage: soundbuilder --bench <asset dir>\n");
            return 2;
        }
        return bench(argv[2]);
    }
    const std::string assetDir = argv[1];
    bool ok = true;
    if (argc == 2)
    {
        for (const Sound& s : sounds())
            ok = build(s, assetDir) && ok;
        return ok ? 0 : 1;
    }
    for (int a = 2; a < argc; ++a)
    {
        const Sound* found = nullptr;
        for (const Sound& s : sounds())
            if (std::strcmp(s.name, argv[a]) == 0)
                found = &s;
        if (!found)
        {
            std::fprintf(stderr, "soundbuilder: unknown sound %s\n", argv[a]);
            ok = false;
            continue;
        }
        ok = build(*found, assetDir) && ok;
    }
    return ok ? 0 : 1;
}
