#include "game/Statistics.h"

#include "event/MiniGameEvent.h"
#include "event/MissionEndedEvent.h"
#include "event/PerfectionEvent.h"

#include <base/UserData.h>
#include <event/Manager.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace base {

const float Statistics::kPrecisePerfection = 90.0f;
const int Statistics::kUnlockMission = 10;
const int Statistics::kAchievementCount = 10;

namespace {

// Registered in this order by the constructor and removed by the destructor.
const base::StringHash* const kListenedEvents[] = {
    &event::PerfectionEvent::kEventType,
    &event::MissionEndedEvent::kEventType,
    &event::MiniGameEvent::kEventType,
};

const char* const kMissionSection = "mission";
const char* const kCountKey = "count";
const char* const kHighscoreKey = "highscore";
const char* const kMiniGameSection = "mini_games";
const char* const kPerfectionSection = "perfection";
const char* const kPerfectKey = "perfect";
const char* const kAchievementSection = "achievements";
const char* const kVehicleSection = "vehicles";
const char* const kUpgradedKey = "upgraded";

// Missions completed in total that earn achievement 5.
const int kMissionsForVeteran = 5;
// The mission with two achievements of its own, and the repeats for the second.
const int kMasterMission = 12;
const int kMasterRepeats = 5;
const int kFirstMission = 1;
// Precise parkings beyond this count earn achievement 9.
const int kPreciseParkingsForExpert = 10;
// Wins of one mini-game that earn its achievement.
const int kWinsForMiniGame = 3;

struct MiniGameRecord {
    const char* key;
    int achievement; // 0: none
};
// Indexed by the game number of the mini-game event.
const MiniGameRecord kMiniGames[] = {
    {"baggage", 3},
    {"catering", 4},
    {"pump", 2},
    {"repair", 0},
};
const std::uint32_t kMiniGameCount = sizeof(kMiniGames) / sizeof(kMiniGames[0]);

} // namespace

Statistics::Statistics() {
    if (auto* events = event::Manager::getSingleton()) {
        for (const base::StringHash* type : kListenedEvents)
            events->AddListener(*this, *type);
    }
}

Statistics::~Statistics() {
    if (auto* events = event::Manager::getSingleton()) {
        for (const base::StringHash* type : kListenedEvents)
            events->RemoveListener(*this, *type);
    }
}

std::string Statistics::MissionSection(int mission) {
    return kMissionSection + std::to_string(mission);
}

std::string Statistics::AchievementKey(int number) {
    return "achievement" + std::to_string(number);
}

int Statistics::ReadCount(const std::string& section, const std::string& key) {
    auto* data = UserData::getSingleton();
    if (!data)
        return 0;
    const std::string text = data->GetString(section, key, "0");
    // Decimal prefix like atoi, but range-checked: atoi has no defined result
    // for text beyond the int range.
    errno = 0;
    const long long value = std::strtoll(text.c_str(), nullptr, 10);
    if (value <= 0)
        return 0;
    if (errno == ERANGE || value > INT_MAX)
        return INT_MAX;
    return static_cast<int>(value);
}

int Statistics::Increment(const std::string& section, const std::string& key) {
    int count = ReadCount(section, key);
    if (count < INT_MAX)
        ++count;
    if (auto* data = UserData::getSingleton())
        data->SetInt(section, key, count);
    return count;
}

void Statistics::Earn(int achievement) {
    if (auto* data = UserData::getSingleton())
        data->SetBool(kAchievementSection, AchievementKey(achievement), true);
}

bool Statistics::HandleEvent(const event::IEvent& event) {
    const base::StringHash& type = event.event_type();
    if (type == event::PerfectionEvent::kEventType) {
        OnPerfection(static_cast<const event::PerfectionEvent&>(event).perfection());
    } else if (type == event::MissionEndedEvent::kEventType) {
        const auto& ended = static_cast<const event::MissionEndedEvent&>(event);
        if (ended.flag() == 0)
            OnMissionEnded(ended.mission(), ended.score());
    } else if (type == event::MiniGameEvent::kEventType) {
        const auto& won = static_cast<const event::MiniGameEvent&>(event);
        if (won.first() == 0)
            OnMiniGame(won.game());
    }
    return false;
}

void Statistics::OnPerfection(float perfection) {
    if (!(perfection > kPrecisePerfection))
        return;
    const int perfect = Increment(kPerfectionSection, kPerfectKey);
    Earn(8);
    if (perfect > kPreciseParkingsForExpert)
        Earn(9);
}

void Statistics::OnMissionEnded(std::int32_t mission, std::uint32_t score) {
    const int total = Increment(kMissionSection, kCountKey);
    if (total >= kMissionsForVeteran)
        Earn(5);

    const std::string section = MissionSection(mission);
    const int count = Increment(section, kCountKey);

    auto* data = UserData::getSingleton();
    if (mission == kUnlockMission && data)
        data->SetBool(kVehicleSection, kUpgradedKey, true);

    // The store keeps ints: a score beyond their range is kept as the largest one.
    const std::uint32_t best = static_cast<std::uint32_t>(ReadCount(section, kHighscoreKey));
    if (score > best && data)
        data->SetInt(section, kHighscoreKey, score > static_cast<std::uint32_t>(INT_MAX) ? INT_MAX
                                                                                          : static_cast<int>(score));

    if (mission == kFirstMission)
        Earn(1);
    if (mission == kMasterMission) {
        if (count >= 1)
            Earn(6);
        if (count >= kMasterRepeats)
            Earn(7);
    }
}

void Statistics::OnMiniGame(std::uint32_t game) {
    if (game >= kMiniGameCount)
        return;
    const MiniGameRecord& record = kMiniGames[game];
    const int wins = Increment(kMiniGameSection, record.key);
    if (wins >= kWinsForMiniGame && record.achievement != 0)
        Earn(record.achievement);
}

} // namespace base
