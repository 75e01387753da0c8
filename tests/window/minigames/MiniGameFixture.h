#pragma once

#include "window/ui/UiWorld.h"

#include "application/IApplicationState.h"
#include "application/Main.h"

#include <event/IListener.h>
#include <event/KeyEvent.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

// What a mini-game sent, in order of delivery.
struct ResultLog : event::IListener {
    const char* Name() override { return "ResultLog"; }
    bool HandleEvent(const event::IEvent& event) override;

    uint64_t ScoreSum() const;

    std::vector<uint32_t> scores;
    std::vector<uint32_t> games;
    // "score" and "game", in the order they arrived.
    std::vector<std::string> order;
};

// A game state underneath that lets the mini-game be pushed on top.
struct GroundState : application::IApplicationState {
    bool Pause() override { return true; }
};

// A real application object with a ground state and one mini-game pushed on
// it, in the UI world; time advances only when a test says so.
class MiniGameTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Registers the state and pushes it over the ground state.
    void Push(const std::string& name, application::IApplicationState* state);
    void Press(OIS::KeyCode key);
    void Release(OIS::KeyCode key);
    void Tap(OIS::KeyCode key);
    // Updates the current state for the given time in steps of the given size.
    void Run(double seconds, double step = 1.0 / 60.0);
    void Step(double seconds);
    // Delivers what the states queued.
    void Deliver();
    // True while the named mini-game is the current state.
    bool IsCurrent(application::IApplicationState* state) const;
    // Lets panel slides finish.
    void Settle();

    UiWorld* m_world = nullptr;
    application::Main* m_app = nullptr;
    GroundState* m_ground = nullptr;
    ResultLog m_results;
};
