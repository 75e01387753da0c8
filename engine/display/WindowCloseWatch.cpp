#include "display/WindowCloseWatch.h"

#include <OGRE/OgreRenderWindow.h>

#include <dlfcn.h>

// Last: Xlib's macros would clash with Ogre's names.
#include <X11/Xlib.h>

namespace display {

namespace {
// Xlib is already in the process through the render system; looking it up at
// run time keeps the engine free of a link to it.
void* xlibSymbol(const char* name) {
    static void* xlib = ::dlopen("libX11.so.6", RTLD_NOW | RTLD_NOLOAD);
    if (!xlib)
        return nullptr;
    return ::dlsym(xlib, name);
}
} // namespace

WindowCloseWatch::WindowCloseWatch(Ogre::RenderWindow* window)
    : m_display(nullptr), m_window(0), m_deleteAtom(0), m_checkEvent(nullptr) {
    if (!window)
        return;
    Display* display = nullptr;
    ::Window xWindow = 0;
    window->getCustomAttribute("XDISPLAY", &display);
    window->getCustomAttribute("WINDOW", &xWindow);
    auto internAtom = reinterpret_cast<Atom (*)(Display*, const char*, Bool)>(xlibSymbol("XInternAtom"));
    auto setProtocols =
        reinterpret_cast<Status (*)(Display*, ::Window, Atom*, int)>(xlibSymbol("XSetWMProtocols"));
    auto check = reinterpret_cast<CheckEvent>(xlibSymbol("XCheckTypedWindowEvent"));
    if (!display || !xWindow || !internAtom || !setProtocols || !check)
        return;
    Atom deleteAtom = internAtom(display, "WM_DELETE_WINDOW", False);
    if (deleteAtom == None || !setProtocols(display, xWindow, &deleteAtom, 1))
        return;
    m_display = display;
    m_window = xWindow;
    m_deleteAtom = deleteAtom;
    m_checkEvent = check;
}

bool WindowCloseWatch::Poll() {
    if (!m_checkEvent)
        return false;
    bool requested = false;
    XEvent event;
    while (m_checkEvent(m_display, m_window, ClientMessage, &event)) {
        if (event.xclient.format == 32 && static_cast<unsigned long>(event.xclient.data.l[0]) == m_deleteAtom)
            requested = true;
    }
    return requested;
}

} // namespace display
