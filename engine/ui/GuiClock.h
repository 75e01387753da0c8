#pragma once

#include "base/Export.h"

namespace ui {

// The time the GUI library's fades, slides and double clicks age by.
//
// Its Ogre platform times each GUI frame with MyGUI::Timer, the wall clock.
// A game that steps at a fixed rate faster or slower than real time (the
// fast runs, the monkey) would see its windows move at wall speed and a
// seeded run would differ from start to start. While driven, the clock
// reads the time the game loop handed to Advance instead.
class DW_API GuiClock {
public:
    // Driven: the clock stands still between Advance calls.
    static void SetDriven(bool driven);
    static bool IsDriven();
    static void Advance(double seconds);
    static unsigned long Milliseconds();
};

} // namespace ui
