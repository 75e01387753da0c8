#pragma once

namespace application {

class Main;

// `kestrelby --startup-profile`: runs the main loop until the first frame that
// shows the main menu on screen, then prints where the start's time went and
// the monotonic clock at that frame (for a launcher that read it before exec).
class StartupProbe {
public:
    // Exit code 0 once the menu was drawn, 1 when the loop ended first.
    static int Run(Main& app);

private:
    // True once a pass drew a frame with the main menu's window on the screen.
    static bool menuDrawn(const Main& app, unsigned long framesBefore);
};

} // namespace application
