#include "fuzz/MissionExercise.h"

#include "game/MissionFileReader.h"

#include <cmath>

std::string MissionExercise::Run(const std::uint8_t* data, std::size_t size) {
    game::MissionFileReader reader;
    const bool read = reader.Parse(reinterpret_cast<const char*>(data), size, "fuzz/mission.xml");
    if (!read && !reader.entries().empty())
        return "a file that failed to read left entries";
    for (const game::MissionFileReader::Entry& entry : reader.entries()) {
        if (entry.hasTime && !std::isfinite(entry.time))
            return "a trigger time that is no finite number was taken";
        if (entry.kind != game::MissionFileReader::kTriggerEntry && (entry.hasTime || !entry.timeText.empty()))
            return "an element other than a trigger has a time";
    }
    // Reading again gives the same records: nothing is left over from before.
    game::MissionFileReader again;
    again.Parse(reinterpret_cast<const char*>(data), size, "fuzz/mission.xml");
    if (again.entries().size() != reader.entries().size())
        return "reading the same file twice gave different records";
    return std::string();
}
