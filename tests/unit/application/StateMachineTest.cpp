#include <application/FrameThrottle.h>
#include <application/IApplicationState.h>
#include <application/Main.h>

#include <event/ApplicationStateEvent.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct RecordingState : application::IApplicationState {
    RecordingState(std::string name, std::vector<std::string>& log, bool pausable = true)
        : name(std::move(name)), log(log), pausable(pausable) {}
    ~RecordingState() override { log.push_back(name + ".destroyed"); }
    void Enter() override { log.push_back(name + ".Enter"); }
    void Exit() override { log.push_back(name + ".Exit"); }
    bool Pause() override {
        log.push_back(name + ".Pause");
        return pausable;
    }
    void Resume() override { log.push_back(name + ".Resume"); }
    void Update(double seconds) override { updates.push_back(seconds); }
    std::string name;
    std::vector<std::string>& log;
    bool pausable;
    std::vector<double> updates;
};

// Owns no services: the state machine works on its own.
class StateMachine : public ::testing::Test {
protected:
    RecordingState* add(const std::string& name, bool pausable = true) {
        auto* s = new RecordingState(name, log, pausable);
        app.AddState(name, s);
        return s;
    }
    bool pop(const std::string& name) {
        return app.HandleEvent(event::ApplicationStateEvent(event::ApplicationStateEvent::POP_STATE, name));
    }
    std::vector<std::string> log;
    application::Main app;
};

TEST_F(StateMachine, PopBackToANamedState) {
    add("MainMenu");
    add("GameState");
    add("InGameMenu");
    app.ChangeState("MainMenu");
    EXPECT_TRUE(app.PushState("GameState"));
    EXPECT_TRUE(app.PushState("InGameMenu"));
    log.clear();
    EXPECT_TRUE(pop("MainMenu"));
    EXPECT_EQ(log, (std::vector<std::string>{"InGameMenu.Exit", "GameState.Resume", "GameState.Exit",
                                             "MainMenu.Resume"}));
    EXPECT_EQ(app.StackSize(), 1u);
}

TEST_F(StateMachine, RefusedAndUnknownPushesChangeNothing) {
    add("MainMenu", false);
    add("GameState");
    app.ChangeState("MainMenu");
    const bool consumed =
        app.HandleEvent(event::ApplicationStateEvent(event::ApplicationStateEvent::PUSH_STATE, "GameState"));
    EXPECT_FALSE(consumed); // pushes let later listeners see the request too
    EXPECT_EQ(app.StackSize(), 1u);
    EXPECT_FALSE(app.PushState("Nowhere"));
    app.ChangeState("Nowhere");
    EXPECT_EQ(app.StackSize(), 1u);
    EXPECT_TRUE(pop("Nowhere")); // unknown names are swallowed without effect
    EXPECT_EQ(app.StackSize(), 1u);
}

TEST_F(StateMachine, PoppingARegisteredStateNotOnTheStackEndsTheLoop) {
    add("MainMenu");
    add("GameState");
    app.ChangeState("MainMenu");
    EXPECT_FALSE(app.HasEnded());
    log.clear();
    pop("GameState");
    EXPECT_TRUE(app.HasEnded());
    EXPECT_EQ(log, (std::vector<std::string>{"MainMenu.Exit"}));
    EXPECT_EQ(app.StackSize(), 0u);
    EXPECT_EQ(app.CurrentState(), nullptr);
}

TEST_F(StateMachine, SecondRegistrationKeepsTheFirst) {
    RecordingState* first = add("MainMenu");
    RecordingState second("second", log);
    app.AddState("MainMenu", &second); // stays with the caller
    app.ChangeState("MainMenu");
    EXPECT_EQ(app.CurrentState(), first);
}

TEST(FrameThrottle, DrawsEveryFourthFiveMillisecondIteration) {
    application::FrameThrottle throttle;
    double seconds = -1.0;
    std::vector<int> drawn;
    for (int i = 1; i <= 8; ++i) {
        if (throttle.Advance(5000.0, false, seconds)) {
            drawn.push_back(i);
            EXPECT_NEAR(seconds, 0.02, 1e-12);
        }
    }
    EXPECT_EQ(drawn, (std::vector<int>{4, 8}));

    // A forced redraw draws at once and restarts the count.
    EXPECT_TRUE(throttle.Advance(1000.0, true, seconds));
    EXPECT_NEAR(seconds, 0.001, 1e-12);
    EXPECT_FALSE(throttle.Advance(16000.0, false, seconds));
    EXPECT_TRUE(throttle.Advance(1000.0, false, seconds));
}

} // namespace
