// Synthesises the game's music and sound effects as Ogg Vorbis files.
// Usage: soundbuilder <asset dir> [sound name ...]   (no names: all sounds)
#include "Clip.h"
#include "Effects.h"
#include "Music.h"
#include "OggEncoder.h"

#include <cstdio>
#include <cstring>
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

bool build(const Sound& sound, const std::string& assetDir)
{
    const std::string dir = assetDir + "/" + sound.folder;
    if (!makeDir(assetDir) || !makeDir(dir))
    {
        std::fprintf(stderr, "soundbuilder: cannot create %s\n", dir.c_str());
        return false;
    }
    const Clip clip = sound.make(sound.rate);
    return soundbuilder::OggEncoder(sound.quality).write(clip, sound.name, dir + "/" + sound.name + ".ogg");
}
}

int main(int argc, char** argv)
{
    if (argc < 2)
    {
        std::fprintf(stderr, "usage: soundbuilder <asset dir> [sound name ...]\n");
        return 2;
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
