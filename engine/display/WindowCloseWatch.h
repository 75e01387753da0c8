#pragma once

namespace Ogre {
class RenderWindow;
}

namespace display {

// Lets the window manager's close button reach the game on X11. Ogre 1.12's
// GL3+ window announces a wrong protocol atom and ignores the close message,
// so a window manager would kill the connection instead; this registers the
// proper protocol and watches for the request itself.
class WindowCloseWatch {
public:
    explicit WindowCloseWatch(Ogre::RenderWindow* window);

    // True when the window manager asked to close the window since the last call.
    bool Poll();
    bool IsWatching() const { return m_checkEvent != nullptr; }

private:
    using CheckEvent = int (*)(void*, unsigned long, int, void*);

    void* m_display;
    unsigned long m_window;
    unsigned long m_deleteAtom;
    CheckEvent m_checkEvent;
};

} // namespace display
