#include "application/StartupProbe.h"

#include "application/Main.h"
#include "ui/MainMenu.h"

#include <base/StartupTrace.h>
#include <ui/Dialog.h>
#include <ui/Manager.h>

#include <MYGUI/MyGUI_Widget.h>

#include <cstdio>
#include <iostream>

namespace application {

bool StartupProbe::menuDrawn(const Main& app, unsigned long framesBefore) {
    ui::Manager* manager = ui::Manager::getSingleton();
    if (!manager || app.frames_drawn() == framesBefore)
        return false;
    ui::Dialog* menu = manager->GetDialog(ui::MainMenu::kDialogType);
    MyGUI::Widget* window = menu ? menu->getWindow() : nullptr;
    if (!window || !window->getVisible())
        return false;
    // The menu slides in from beyond the edge: on screen once its rectangle meets the window's.
    const MyGUI::IntCoord box = window->getAbsoluteCoord();
    return box.left < manager->getWidth() && box.right() > 0 && box.top < manager->getHeight() &&
           box.bottom() > 0;
}

int StartupProbe::Run(Main& app) {
    bool drawn = false;
    double drawnAt = 0.0;
    unsigned long frames = app.frames_drawn();
    const unsigned long framesAtStart = frames;
    app.SetPassObserver([&](double) {
        if (frames == framesAtStart && app.frames_drawn() != frames)
            base::StartupTrace::Mark("first frame drawn (shaders, textures)");
        if (menuDrawn(app, frames)) {
            drawnAt = base::StartupTrace::MonotonicSeconds();
            base::StartupTrace::Mark("further frames until the sliding menu reaches the screen");
            drawn = true;
            app.Quit();
        }
        frames = app.frames_drawn();
    });
    app.Run();
    app.SetPassObserver(nullptr);
    if (!drawn) {
        std::cerr << "kestrelby: the main loop ended before the main menu was drawn" << std::endl;
        return 1;
    }
    base::StartupTrace::Report(std::cout);
    char line[96];
    std::snprintf(line, sizeof(line), "startup: main menu drawn at monotonic %.6f s\n",
                  drawnAt);
    std::cout << line << std::flush;
    return 0;
}

} // namespace application
