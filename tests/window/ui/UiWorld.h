#pragma once

namespace base {
class Config;
}
namespace display {
class Core;
}
namespace event {
class Manager;
}
namespace ui {
class Manager;
}

// The services a UI test needs, started once per test program the way the
// game starts them: settings (windowed 1024 x 768), events, render core with
// the real UI archive, and the UI manager with the game's dialog factory.
struct UiWorld {
    static UiWorld& get();

    // Lets the GUI library's controllers and tooltips advance by this time.
    void advance(float seconds, int steps = 1);
    // Draws one frame (the GUI advances by the real time since the last one).
    void draw();

    bool ready = false;
    base::Config* config = nullptr;
    event::Manager* events = nullptr;
    display::Core* core = nullptr;
    ui::Manager* ui = nullptr;
};
