#include "input/GamePad.h"

#include "event/KeyEvent.h"
#include "event/Manager.h"
#include "event/PadEvent.h"
#include "input/Bindings.h"

#ifdef DW_HAVE_SDL2
#include <SDL.h>
#endif

#include <algorithm>
#include <cmath>
#include <iostream>

DW_SINGLETON_DEFINE(input::GamePad)

namespace input {

const float GamePad::kStickDeadZone = 0.24f;
const float GamePad::kTriggerDeadZone = 0.05f;

namespace {
// Same names and order as SDL's buttons, then its triggers, then the stick halves.
const char* const kControls[] = {
    "a", "b", "x", "y", "back", "guide", "start", "leftstick", "rightstick", "leftshoulder", "rightshoulder",
    "dpup", "dpdown", "dpleft", "dpright", "lefttrigger", "righttrigger", "leftx-", "leftx+", "lefty-", "lefty+",
    "rightx-", "rightx+", "righty-", "righty+",
};
const int kButtonCount = 15;
// A control counts as pressed above the first mark and released below the
// second, so a value near one mark does not flicker.
const float kPressMark = 0.6f;
const float kReleaseMark = 0.4f;

float beyondDeadZone(float value, float deadZone) {
    const float magnitude = std::fabs(value);
    return magnitude <= deadZone ? 0.f : std::min(1.f, (magnitude - deadZone) / (1.f - deadZone));
}
} // namespace

GamePad::GamePad() {
#ifdef DW_HAVE_SDL2
    // No SDL window has the focus: the pad must be read anyway.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    // SDL would turn SIGTERM and SIGINT into a quit event nobody reads, and the
    // game could no longer be stopped by a signal.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        std::cerr << "input: no game controllers (" << SDL_GetError() << ")" << std::endl;
        return;
    }
    m_available = true;
#endif
}

GamePad::~GamePad() {
    if (m_listening) {
        if (auto* events = event::Manager::getSingleton())
            events->RemoveListener(*this, event::PadEvent::kEventType);
    }
    Close();
#ifdef DW_HAVE_SDL2
    if (m_available)
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
#endif
}

bool GamePad::Connected() const {
    return m_controller != nullptr;
}

void GamePad::Open(int deviceIndex) {
#ifdef DW_HAVE_SDL2
    if (m_controller || !SDL_IsGameController(deviceIndex))
        return;
    SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
    if (!controller)
        return;
    m_controller = controller;
    m_instance = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
    const char* name = SDL_GameControllerName(controller);
    m_name = name ? name : "game controller";
#else
    (void)deviceIndex;
#endif
}

void GamePad::Close() {
#ifdef DW_HAVE_SDL2
    if (m_controller)
        SDL_GameControllerClose(static_cast<SDL_GameController*>(m_controller));
#endif
    m_controller = nullptr;
    m_instance = -1;
    m_name.clear();
}

void GamePad::Poll() {
    if (!m_available)
        return;
    // From the first poll on, after the UI manager: a window gets the pad first.
    if (!m_listening) {
        if (auto* events = event::Manager::getSingleton())
            m_listening = events->AddListener(*this, event::PadEvent::kEventType);
    }
#ifdef DW_HAVE_SDL2
    SDL_Event sdl;
    while (SDL_PollEvent(&sdl)) {
        // Added carries a device index, removed an instance id.
        if (sdl.type == SDL_CONTROLLERDEVICEADDED)
            Open(sdl.cdevice.which);
        else if (sdl.type == SDL_CONTROLLERDEVICEREMOVED && sdl.cdevice.which == m_instance)
            Close();
    }
    // A pad that was there before the first poll sends no added event on every SDL.
    if (!m_controller)
        for (int i = 0; i < SDL_NumJoysticks() && !m_controller; ++i)
            Open(i);
#endif
    std::array<float, kControlCount> values{};
    ReadState(values);
    Queue(values);
}

void GamePad::ReadState(std::array<float, kControlCount>& values) const {
    values.fill(0.f);
#ifdef DW_HAVE_SDL2
    auto* controller = static_cast<SDL_GameController*>(m_controller);
    if (!controller)
        return;
    for (int i = 0; i < kButtonCount; ++i)
        values[i] = SDL_GameControllerGetButton(controller, static_cast<SDL_GameControllerButton>(i)) ? 1.f : 0.f;
    auto axis = [controller](SDL_GameControllerAxis which) {
        return static_cast<float>(SDL_GameControllerGetAxis(controller, which)) / 32767.f;
    };
    // Triggers read 0 to 32767.
    values[kButtonCount] = beyondDeadZone(axis(SDL_CONTROLLER_AXIS_TRIGGERLEFT), kTriggerDeadZone);
    values[kButtonCount + 1] = beyondDeadZone(axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT), kTriggerDeadZone);
    const SDL_GameControllerAxis sticks[] = {SDL_CONTROLLER_AXIS_LEFTX, SDL_CONTROLLER_AXIS_LEFTY,
                                             SDL_CONTROLLER_AXIS_RIGHTX, SDL_CONTROLLER_AXIS_RIGHTY};
    for (int s = 0; s < 4; ++s) {
        const float value = axis(sticks[s]);
        const float amount = beyondDeadZone(value, kStickDeadZone);
        values[kButtonCount + 2 + 2 * s] = value < 0 ? amount : 0.f;
        values[kButtonCount + 3 + 2 * s] = value > 0 ? amount : 0.f;
    }
#endif
}

void GamePad::Queue(const std::array<float, kControlCount>& values) {
    m_values = values;
    event::Manager* events = event::Manager::getSingleton();
    for (int i = 0; i < kControlCount; ++i) {
        const bool down = m_down[i] ? values[i] > kReleaseMark : values[i] > kPressMark;
        if (down == m_down[i])
            continue;
        m_down[i] = down;
        if (events)
            events->QueueEvent(new event::PadEvent(kControls[i], down));
    }
}

float GamePad::Value(const std::string& control) const {
    for (int i = 0; i < kControlCount; ++i)
        if (control == kControls[i])
            return m_values[i];
    return 0.f;
}

bool GamePad::HandleEvent(const event::IEvent& event) {
    if (event.event_type() != event::PadEvent::kEventType)
        return false;
    // No window took the control: it works as the key of its action.
    const auto& pad = static_cast<const event::PadEvent&>(event);
    const Bindings* bindings = Bindings::getSingleton();
    const int action = bindings ? bindings->ActionForPad(pad.control()) : -1;
    event::Manager* events = event::Manager::getSingleton();
    if (action < 0 || !events)
        return false;
    const auto type = pad.pressed() ? event::KeyEvent::KEY_PRESSED : event::KeyEvent::KEY_RELEASED;
    events->QueueEvent(new event::KeyEvent(type, static_cast<OIS::KeyCode>(bindings->KeyOf(action))));
    return false;
}

} // namespace input
