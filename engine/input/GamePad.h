#pragma once

#include "base/Export.h"
#include "base/Singleton.h"
#include "event/IListener.h"

#include <array>
#include <string>

namespace input {

// The first game controller SDL finds, through SDL's game-controller API and
// its mapping database (only that SDL subsystem is started; Ogre owns the
// window). Polled in the input handler's capture: every control that goes
// down or up queues an event::PadEvent, and a control no window took is
// handed on as a key event of the key bound to the same action, so the game
// needs no pad code of its own. Vehicles read the analog values. Pads may come
// and go at any time; without SDL, or without a pad, nothing happens.
class DW_API GamePad : public event::IListener, public base::Singleton<GamePad> {
public:
    // Sticks rest within this part of their travel.
    static const float kStickDeadZone;
    static const float kTriggerDeadZone;

    GamePad();
    virtual ~GamePad();

    // Whether SDL's game-controller subsystem runs.
    bool Available() const { return m_available; }
    bool Connected() const;
    const std::string& name() const { return m_name; }

    // Reads hot-plugs and the controller's state; queues the changes.
    void Poll();

    // The control's value, 0 to 1, beyond its dead zone: a button is 0 or 1,
    // a trigger or a stick half rises smoothly. 0 for an unknown control or no pad.
    float Value(const std::string& control) const;

    const char* Name() override { return "GamePad"; }
    bool HandleEvent(const event::IEvent& event) override;

private:
    // Buttons, the two triggers and the eight stick halves, in SDL's name order.
    static const int kControlCount = 15 + 2 + 8;

    void Open(int deviceIndex);
    void Close();
    void ReadState(std::array<float, kControlCount>& values) const;
    void Queue(const std::array<float, kControlCount>& values);

    bool m_available = false;
    void* m_controller = nullptr; // SDL_GameController
    int m_instance = -1;
    std::string m_name;
    std::array<float, kControlCount> m_values{};
    std::array<bool, kControlCount> m_down{};
    bool m_listening = false;
};

} // namespace input

DW_SINGLETON_DECLARE(input::GamePad)
