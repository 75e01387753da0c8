#pragma once

#ifdef KB_TEST_SDL2
#include <SDL.h>

// A game controller made by SDL's virtual joystick: every controller button
// and axis, triggers at rest. The game's pad finds it as it would a real one.
class VirtualPad {
public:
    VirtualPad() {
        SDL_VirtualJoystickDesc desc;
        SDL_zero(desc);
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.name = "kestrelby test pad";
        m_index = SDL_JoystickAttachVirtualEx(&desc);
        m_joystick = m_index >= 0 ? SDL_JoystickOpen(m_index) : nullptr;
        // A trigger's full range maps to 0..1: the lowest value is at rest.
        Axis(SDL_CONTROLLER_AXIS_TRIGGERLEFT, -32768);
        Axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, -32768);
    }
    ~VirtualPad() { Unplug(); }
    VirtualPad(const VirtualPad&) = delete;
    VirtualPad& operator=(const VirtualPad&) = delete;

    bool ready() const { return m_joystick != nullptr; }
    void Button(SDL_GameControllerButton button, bool down) {
        if (m_joystick)
            SDL_JoystickSetVirtualButton(m_joystick, button, down ? 1 : 0);
    }
    void Axis(SDL_GameControllerAxis axis, int value) {
        if (m_joystick)
            SDL_JoystickSetVirtualAxis(m_joystick, axis, static_cast<Sint16>(value));
    }
    // Half way along a trigger's travel.
    static int HalfTrigger() { return 0; }
    void Unplug() {
        if (m_joystick)
            SDL_JoystickClose(m_joystick);
        m_joystick = nullptr;
        // Detaching takes a device index, which shifts as pads come and go.
        for (int i = SDL_NumJoysticks() - 1; i >= 0; --i)
            if (SDL_JoystickIsVirtual(i))
                SDL_JoystickDetachVirtual(i);
        m_index = -1;
    }

private:
    int m_index = -1;
    SDL_Joystick* m_joystick = nullptr;
};
#endif
