#pragma once

#include "base/Export.h"
#include "base/Singleton.h"

#include <OISKeyboard.h>
#include <OISMouse.h>

#include <cstdint>

namespace OIS {
class InputManager;
}

namespace input {

class GamePad;

// Turns OIS keyboard and mouse input on the render window into queued
// event::KeyEvent and event::MouseEvent objects.
class DW_API Handler : public OIS::MouseListener,
                       public OIS::KeyListener,
                       public base::Singleton<Handler> {
public:
    Handler();
    virtual ~Handler();

    // window_handle is the render window's native handle.
    bool init(uint64_t window_handle);
    // Mouse first, then keyboard, then the game controller; the callbacks
    // below run from in here.
    void Capture();
    // The area to which OIS clips the absolute mouse position.
    void SetWindowSize(uint32_t width, uint32_t height);

    bool mouseMoved(const OIS::MouseEvent& event) override;
    bool mousePressed(const OIS::MouseEvent& event, OIS::MouseButtonID button) override;
    bool mouseReleased(const OIS::MouseEvent& event, OIS::MouseButtonID button) override;
    bool keyPressed(const OIS::KeyEvent& event) override;
    bool keyReleased(const OIS::KeyEvent& event) override;

private:
    OIS::InputManager* m_inputSystem;
    OIS::Mouse* m_mouse;
    OIS::Keyboard* m_keyboard;
    // Owned; made by init.
    GamePad* m_pad = nullptr;
};

} // namespace input

DW_SINGLETON_DECLARE(input::Handler)
