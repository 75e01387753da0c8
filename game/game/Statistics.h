#pragma once

#include <event/IListener.h>

#include <cstdint>
#include <string>

namespace base {

// The player's long-term record: completions and highscores per mission,
// mini-games won, precise parkings, achievements and the upgraded-vehicles
// unlock. Keeps nothing itself; every value lives in the user-data store,
// which the mission selection and the result windows read.
class Statistics : public event::IListener {
public:
    // Parkings above this precision (percent, strictly) count as precise.
    static const float kPrecisePerfection;
    // Completing this mission unlocks the upgraded vehicles.
    static const int kUnlockMission;
    // The number of achievement badges the achievement window lists.
    static const int kAchievementCount;

    Statistics();
    virtual ~Statistics();
    Statistics(const Statistics&) = delete;
    Statistics& operator=(const Statistics&) = delete;

    const char* Name() override { return "Statistics"; }
    // Records and never consumes, so the game state and the windows see the event too.
    bool HandleEvent(const event::IEvent& event) override;

    // The user-data section of one mission ("mission3").
    static std::string MissionSection(int mission);
    // The user-data key of one achievement ("achievement3").
    static std::string AchievementKey(int number);
    // A stored counter or highscore: hand-edited text that is negative reads
    // as 0 and one beyond the int range as the largest int, so neither can
    // block later records or wrap when counted up.
    static int ReadCount(const std::string& section, const std::string& key);

private:
    void OnPerfection(float perfection);
    void OnMissionEnded(std::int32_t mission, std::uint32_t score);
    void OnMiniGame(std::uint32_t game);

    // Stored counter + 1, written back; stays at the largest int instead of wrapping.
    static int Increment(const std::string& section, const std::string& key);
    static void Earn(int achievement);
};

} // namespace base
