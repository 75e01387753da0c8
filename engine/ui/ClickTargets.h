#pragma once

#include "base/Export.h"

#include <string>
#include <vector>

namespace MyGUI {
class Widget;
}

namespace ui {

// The widgets a pointer could press right now: shown, enabled, taking mouse
// focus and of a kind that reacts to a click (buttons, lists, edit boxes,
// scroll bars). For test drivers that act as a player with a mouse would.
class DW_API ClickTargets {
public:
    // Every such widget, in the GUI's own order (roots, then depth first),
    // except those whose name is in `excluded`.
    static std::vector<MyGUI::Widget*> Collect(const std::vector<std::string>& excluded);
    // The widget's centre in screen pixels.
    static void Centre(const MyGUI::Widget& widget, int& x, int& y);
};

} // namespace ui
