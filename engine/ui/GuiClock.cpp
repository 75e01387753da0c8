#include "ui/GuiClock.h"

#include <MyGUI_Timer.h>

#include <chrono>

namespace ui {
namespace {

bool g_driven = false;
double g_drivenSeconds = 0.0;

unsigned long wallMilliseconds() {
    using namespace std::chrono;
    return static_cast<unsigned long>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

} // namespace

void GuiClock::SetDriven(bool driven) {
    g_driven = driven;
}

bool GuiClock::IsDriven() {
    return g_driven;
}

void GuiClock::Advance(double seconds) {
    if (seconds > 0.0)
        g_drivenSeconds += seconds;
}

unsigned long GuiClock::Milliseconds() {
    return g_driven ? static_cast<unsigned long>(g_drivenSeconds * 1000.0) : wallMilliseconds();
}

} // namespace ui

// The GUI library reads its clock through this exported member,
// MyGUI::Timer::getMilliseconds() const. Exported from the engine under its
// mangled name, it comes before the GUI library's own in the program's symbol
// lookup and takes its place. Only differences between readings are used, so
// the origin does not matter.
extern "C" DW_API unsigned long _ZNK5MyGUI5Timer15getMillisecondsEv(const MyGUI::Timer*) {
    return ui::GuiClock::Milliseconds();
}
