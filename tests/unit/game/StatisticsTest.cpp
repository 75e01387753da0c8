// The long-term record against a real user-data file and the real event manager.
#include "support/TempDir.h"

#include "event/MiniGameEvent.h"
#include "event/MissionEndedEvent.h"
#include "event/PerfectionEvent.h"
#include "game/Statistics.h"

#include <base/UserData.h>
#include <event/IListener.h>
#include <event/Manager.h>

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>

namespace {

class StatisticsTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_path = m_dir.file("user_data.xml");
        testing::internal::CaptureStderr(); // the store reports every key it creates
        m_data = std::make_unique<base::UserData>(m_path);
        m_stats = std::make_unique<base::Statistics>();
    }
    void TearDown() override {
        m_stats.reset();
        m_data.reset();
        testing::internal::GetCapturedStderr();
    }

    // Restarts on a hand-edited file.
    void load(const std::string& text) {
        m_stats.reset();
        m_data.reset();
        TempDir::write(m_path, text);
        m_data = std::make_unique<base::UserData>(m_path);
        m_stats = std::make_unique<base::Statistics>();
    }

    void park(float precision) { m_events.Fire(event::PerfectionEvent(precision)); }
    void complete(int mission, unsigned score) { m_events.Fire(event::MissionEndedEvent(mission, score, 0)); }
    void win(unsigned game, unsigned first = 0) { m_events.Fire(event::MiniGameEvent(first, game)); }

    bool achieved(int number) { return m_data->GetBool("achievements", "achievement" + std::to_string(number), false); }
    int count(const std::string& section, const std::string& key) { return m_data->GetInt(section, key, 0); }
    std::string text(const std::string& section, const std::string& key) { return m_data->GetString(section, key, ""); }
    // What is on disk right now, as written through by the store.
    std::string file() const { return TempDir::read(m_path); }

    TempDir m_dir;
    std::string m_path;
    event::Manager m_events;
    std::unique_ptr<base::UserData> m_data;
    std::unique_ptr<base::Statistics> m_stats;
};

TEST_F(StatisticsTest, PreciseParkingsCountOnlyAboveNinetyAndTheEleventhEarnsTheSecondBadge) {
    park(90.0f);
    EXPECT_EQ(file().find("perfect="), std::string::npos);
    EXPECT_FALSE(achieved(8));

    park(90.5f);
    EXPECT_NE(file().find("perfect=\"1\""), std::string::npos) << file();
    EXPECT_TRUE(achieved(8));
    EXPECT_FALSE(achieved(9));

    for (int i = 2; i <= 10; ++i)
        park(99.0f);
    EXPECT_EQ(count("perfection", "perfect"), 10);
    EXPECT_FALSE(achieved(9));
    park(91.0f);
    EXPECT_EQ(count("perfection", "perfect"), 11);
    EXPECT_TRUE(achieved(9));
}

TEST_F(StatisticsTest, HighscoreOnlyRisesAndPlaysAreCounted) {
    complete(3, 1200);
    EXPECT_NE(file().find("<mission3 count=\"1\" highscore=\"1200\""), std::string::npos) << file();
    complete(3, 1200); // equal: unchanged
    complete(3, 900);
    EXPECT_EQ(text("mission3", "highscore"), "1200");
    EXPECT_EQ(count("mission3", "count"), 3);
    complete(3, 1201);
    EXPECT_EQ(text("mission3", "highscore"), "1201");
    EXPECT_EQ(count("mission", "count"), 4);
    EXPECT_FALSE(achieved(5));
    complete(4, 0);
    EXPECT_TRUE(achieved(5)); // any five completions, repeats included
    EXPECT_FALSE(achieved(1));
    complete(1, 10);
    EXPECT_TRUE(achieved(1));
}

TEST_F(StatisticsTest, TwelfthMissionEarnsOnFirstAndFifthCompletion) {
    complete(12, 5);
    EXPECT_TRUE(achieved(6));
    for (int i = 2; i <= 4; ++i)
        complete(12, 5);
    EXPECT_FALSE(achieved(7));
    complete(12, 5);
    EXPECT_TRUE(achieved(7));
}

TEST_F(StatisticsTest, TenthMissionUnlocksTheUpgradedVehiclesEveryTime) {
    EXPECT_FALSE(m_data->GetBool("vehicles", "upgraded", false));
    complete(9, 100);
    EXPECT_FALSE(m_data->GetBool("vehicles", "upgraded", false));
    complete(10, 100);
    EXPECT_TRUE(m_data->GetBool("vehicles", "upgraded", false));
    m_data->SetBool("vehicles", "upgraded", false);
    complete(10, 50);
    EXPECT_NE(file().find("upgraded=\"true\""), std::string::npos) << file();
}

TEST_F(StatisticsTest, MiniGamesEarnTheirBadgeOnTheThirdWinExceptRepair) {
    for (int i = 0; i < 3; ++i)
        win(event::MiniGameEvent::kRepair);
    EXPECT_EQ(count("mini_games", "repair"), 3);
    for (int n = 1; n <= 10; ++n)
        EXPECT_FALSE(achieved(n)) << n;

    const struct {
        unsigned game;
        const char* key;
        int badge;
    } games[] = {{event::MiniGameEvent::kPump, "pump", 2},
                 {event::MiniGameEvent::kBaggage, "baggage", 3},
                 {event::MiniGameEvent::kCatering, "catering", 4}};
    for (const auto& game : games) {
        win(game.game);
        win(game.game);
        EXPECT_FALSE(achieved(game.badge)) << game.key;
        win(game.game);
        EXPECT_EQ(count("mini_games", game.key), 3);
        EXPECT_TRUE(achieved(game.badge)) << game.key;
    }
}

TEST_F(StatisticsTest, ForeignEventsChangeNothing) {
    const std::string before = file();
    win(4);
    win(UINT32_MAX);
    win(event::MiniGameEvent::kPump, 1);
    m_events.Fire(event::MissionEndedEvent(10, 500, 1));
    park(-1.0f);
    EXPECT_EQ(file(), before);
}

TEST_F(StatisticsTest, NegativeHandEditedHighscoreCountsAsZero) {
    load(R"(<root><mission2 count="1" highscore="-5"/></root>)");
    complete(2, 0);
    EXPECT_EQ(text("mission2", "highscore"), "-5"); // 0 is no improvement on 0
    complete(2, 300);
    EXPECT_EQ(text("mission2", "highscore"), "300");
    complete(2, 200);
    EXPECT_EQ(text("mission2", "highscore"), "300");
}

TEST_F(StatisticsTest, CountersStopAtTheirMaximumInsteadOfWrapping) {
    load(R"(<root><mission count="2147483647"/><mission7 count="99999999999" highscore="2147483647"/>)"
         R"(<perfection perfect="-40"/><mini_games pump="2147483647"/></root>)");
    complete(7, 4000000000u);
    EXPECT_EQ(count("mission", "count"), INT_MAX);
    EXPECT_EQ(count("mission7", "count"), INT_MAX);
    EXPECT_EQ(count("mission7", "highscore"), INT_MAX);
    EXPECT_TRUE(achieved(5));
    win(event::MiniGameEvent::kPump);
    EXPECT_EQ(count("mini_games", "pump"), INT_MAX);
    EXPECT_TRUE(achieved(2));
    park(95.0f); // a negative count starts again from 0
    EXPECT_EQ(count("perfection", "perfect"), 1);
    EXPECT_FALSE(achieved(9));
}

TEST_F(StatisticsTest, ListensWithoutConsumingAndStopsWhenDestroyed) {
    struct After : event::IListener {
        const char* Name() override { return "After"; }
        bool HandleEvent(const event::IEvent&) override { return ++seen, false; }
        int seen = 0;
    } after;
    for (const auto* type : {&event::PerfectionEvent::kEventType, &event::MissionEndedEvent::kEventType,
                             &event::MiniGameEvent::kEventType})
        m_events.AddListener(after, *type);
    park(95.0f);
    complete(1, 10);
    win(event::MiniGameEvent::kPump);
    EXPECT_EQ(after.seen, 3);
    EXPECT_STREQ(m_stats->Name(), "Statistics");

    m_stats.reset();
    const std::string before = file();
    park(95.0f);
    complete(1, 10);
    win(event::MiniGameEvent::kPump);
    EXPECT_EQ(file(), before);
    EXPECT_EQ(after.seen, 6);
}

} // namespace
