#include "input/Handler.h"

#include "event/KeyEvent.h"
#include "event/Manager.h"
#include "event/MouseEvent.h"
#include "input/GamePad.h"

#include <OISException.h>
#include <OISInputManager.h>

#include <exception>
#include <iostream>
#include <string>

DW_SINGLETON_DEFINE(input::Handler)

namespace input {

namespace {
const int kInitialMouseWidth = 1440;
const int kInitialMouseHeight = 768;

#if defined(__linux__)
// OIS's X11 mouse warps the pointer to this window position when it starts
// and counts its absolute position from 0 there.
const int kX11StartWarp = 6;
#endif

int clip(int value, int limit) {
    return value < 0 ? 0 : (value > limit ? limit : value);
}

// OIS clips the absolute position to the mouse area only while it grabs the
// pointer, which the game does not do on X11; the position is clipped here instead.
event::MouseEvent::SMouseState mouseState(const OIS::MouseState& state) {
    event::MouseEvent::SMouseState result;
    result.abs_x = static_cast<float>(clip(state.X.abs, state.width));
    result.abs_y = static_cast<float>(clip(state.Y.abs, state.height));
    result.abs_z = static_cast<float>(state.Z.abs);
    result.rel_x = static_cast<float>(state.X.rel);
    result.rel_y = static_cast<float>(state.Y.rel);
    result.rel_z = static_cast<float>(state.Z.rel);
    return result;
}

bool buttonOf(OIS::MouseButtonID id, event::MouseEvent::EMouseButton& button) {
    switch (id) {
    case OIS::MB_Left:
        button = event::MouseEvent::MOUSE_BUTTON_LEFT;
        return true;
    case OIS::MB_Right:
        button = event::MouseEvent::MOUSE_BUTTON_RIGHT;
        return true;
    default:
        return false;
    }
}

void queue(const event::IEvent* e) {
    event::Manager* events = event::Manager::getSingleton();
    if (events)
        events->QueueEvent(e);
    else
        delete e;
}
} // namespace

Handler::Handler() : m_inputSystem(nullptr), m_mouse(nullptr), m_keyboard(nullptr) {}

Handler::~Handler() {
    delete m_pad;
    m_pad = nullptr;
    if (m_inputSystem) {
        if (m_mouse)
            m_inputSystem->destroyInputObject(m_mouse);
        if (m_keyboard)
            m_inputSystem->destroyInputObject(m_keyboard);
        OIS::InputManager::destroyInputSystem(m_inputSystem);
    }
    m_mouse = nullptr;
    m_keyboard = nullptr;
    m_inputSystem = nullptr;
}

bool Handler::init(uint64_t window_handle) {
    OIS::ParamList params;
    params.insert(std::make_pair(std::string("WINDOW"), std::to_string(window_handle)));
    // OIS grabs pointer and keyboard on X11 by default, which locks up the
    // whole desktop while the game runs; the game needs neither grab.
    params.insert(std::make_pair(std::string("x11_mouse_grab"), std::string("false")));
    params.insert(std::make_pair(std::string("x11_mouse_hide"), std::string("false")));
    params.insert(std::make_pair(std::string("x11_keyboard_grab"), std::string("false")));
    bool reported = false;
    try {
        m_inputSystem = OIS::InputManager::createInputSystem(params);
        m_mouse = static_cast<OIS::Mouse*>(m_inputSystem->createInputObject(OIS::OISMouse, true));
        m_keyboard =
            static_cast<OIS::Keyboard*>(m_inputSystem->createInputObject(OIS::OISKeyboard, true));
    } catch (const OIS::Exception& e) {
        std::cerr << "input::Handler::init - " << e.eText << std::endl;
        reported = true;
    } catch (const std::exception& e) {
        std::cerr << "input::Handler::init - " << e.what() << std::endl;
        reported = true;
    }
    if (m_mouse) {
        m_mouse->setEventCallback(this);
        const OIS::MouseState& state = m_mouse->getMouseState();
        state.width = kInitialMouseWidth;
        state.height = kInitialMouseHeight;
#if defined(__linux__)
        // With the system pointer visible, the absolute position must match it
        // exactly, or clicks land beside what the player points at.
        OIS::MouseState& start = const_cast<OIS::MouseState&>(state);
        start.X.abs = kX11StartWarp;
        start.Y.abs = kX11StartWarp;
#endif
    }
    if (m_keyboard)
        m_keyboard->setEventCallback(this);
    const bool ready = m_inputSystem && m_mouse && m_keyboard;
    // Game controllers are optional: without SDL or a pad the pad reads nothing.
    if (ready && !m_pad)
        m_pad = new GamePad();
    if (!ready && !reported)
        std::cerr << "input::Handler::init - no keyboard or mouse on the render window" << std::endl;
    return ready;
}

void Handler::Capture() {
    if (m_mouse)
        m_mouse->capture();
    if (m_keyboard)
        m_keyboard->capture();
    if (m_pad)
        m_pad->Poll();
}

void Handler::SetWindowSize(uint32_t width, uint32_t height) {
    if (!m_mouse)
        return;
    const OIS::MouseState& state = m_mouse->getMouseState();
    state.width = static_cast<int>(width);
    state.height = static_cast<int>(height);
}

bool Handler::mouseMoved(const OIS::MouseEvent& event) {
    queue(new event::MouseEvent(event::MouseEvent::MOUSE_MOVED, event::MouseEvent::MOUSE_BUTTON_NONE,
                                mouseState(event.state)));
    return true;
}

bool Handler::mousePressed(const OIS::MouseEvent& event, OIS::MouseButtonID id) {
    event::MouseEvent::EMouseButton button;
    if (buttonOf(id, button))
        queue(new event::MouseEvent(event::MouseEvent::MOUSE_PRESSED, button, mouseState(event.state)));
    return true;
}

bool Handler::mouseReleased(const OIS::MouseEvent& event, OIS::MouseButtonID id) {
    event::MouseEvent::EMouseButton button;
    if (buttonOf(id, button))
        queue(new event::MouseEvent(event::MouseEvent::MOUSE_RELEASED, button, mouseState(event.state)));
    return true;
}

bool Handler::keyPressed(const OIS::KeyEvent& event) {
    // Escape acts on release only, so nothing behind a closing dialog sees its press.
    if (event.key != OIS::KC_ESCAPE)
        queue(new event::KeyEvent(event::KeyEvent::KEY_PRESSED, event.key));
    return true;
}

bool Handler::keyReleased(const OIS::KeyEvent& event) {
    queue(new event::KeyEvent(event::KeyEvent::KEY_RELEASED, event.key));
    return true;
}

} // namespace input
