#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace game {

// Reads a mission file into its records, in document order, without placing
// anything: the root's "spawn", "trigger" and "mini_game" children with their
// attributes as text, and a trigger's time as a number when it reads as one.
// Other elements are ignored. What the records mean is the mission's affair.
class MissionFileReader {
public:
    enum EEntryKind { kSpawnEntry, kTriggerEntry, kMiniGameEntry };

    struct Entry {
        EEntryKind kind = kSpawnEntry;
        // Spawn and trigger: the "type" and the scene node's "name".
        std::string type;
        std::string name;
        // Spawn: the vehicle type name.
        std::string vehicle;
        // Mini-game: the application state to push.
        std::string game;
        // Trigger: the "time" text, and its value when it is a finite number.
        std::string timeText;
        bool hasTime = false;
        double time = 0.0;
    };

    // False, with one line on stderr and no entries, when the file cannot be
    // read or is no XML document with a root element.
    bool Read(const std::string& path);
    // The same for a file's bytes; path only names the file in the diagnostics.
    bool Parse(const char* data, std::size_t size, const std::string& path);

    const std::vector<Entry>& entries() const { return m_entries; }

private:
    std::vector<Entry> m_entries;
};

} // namespace game
