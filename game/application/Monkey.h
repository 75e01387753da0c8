#pragma once

#include <OISKeyboard.h>

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace game {
class Autopilot;
}

namespace application {

class IApplicationState;

// Plays the game with random input, the way a careless player would: it
// clicks whatever the GUI shows, taps and holds the game's keys, resizes the
// window, and now and then presses any key or clicks anywhere. Everything
// goes through the event manager as the keyboard's and mouse's events do.
// While a mission runs it sometimes lets the autopilot drive for a stretch,
// so that parking, mini-games and mission ends are reached too. The same
// seed at the same fixed step gives the same run.
class Monkey {
public:
    // Passes without an action between two actions, at most.
    static const int kMaxPause;
    // Widgets it never presses: the main menu's exit would end the run. They
    // are disabled while the monkey plays.
    static const std::vector<std::string> kExcludedWidgets;

    explicit Monkey(uint32_t seed);
    ~Monkey();

    Monkey(const Monkey&) = delete;
    Monkey& operator=(const Monkey&) = delete;

    // One pass of the game loop of `seconds` game time; what it queues
    // reaches the game at the next pass.
    void Update(double seconds);

    double game_time() const { return m_gameTime; }
    // "monkey: <events> events, <changes> state changes, <missions> missions started, seed <N>"
    std::string Summary() const;

private:
    struct Hold {
        OIS::KeyCode key;
        int passes;
    };

    uint32_t below(uint32_t limit);
    void WatchStates();
    void HoldBackExits();
    void Act();
    void ClickWidget();
    void ClickAt(int x, int y);
    void GameKey();
    void AnyKey();
    void Resize();
    void StartCopilot();
    void StopCopilot();
    void Press(OIS::KeyCode key);
    void Release(OIS::KeyCode key);
    void ReleaseHeld();

    std::mt19937 m_random;
    uint32_t m_seed;
    double m_gameTime = 0.0;
    int m_pause = 0;
    std::vector<Hold> m_holds;
    int m_mouseUpIn = -1;
    int m_mouseX = 0;
    int m_mouseY = 0;
    std::unique_ptr<game::Autopilot> m_copilot;
    double m_copilotLeft = 0.0;
    const IApplicationState* m_state = nullptr;
    size_t m_stackSize = 0;
    unsigned long m_events = 0;
    unsigned long m_changes = 0;
    unsigned long m_missions = 0;
};

} // namespace application
