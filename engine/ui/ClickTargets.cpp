#include "ui/ClickTargets.h"

#include <MyGUI.h>

#include <algorithm>

namespace ui {

namespace {

bool reactsToClicks(MyGUI::Widget& widget) {
    return widget.isType<MyGUI::Button>() || widget.isType<MyGUI::ListBox>() || widget.isType<MyGUI::EditBox>() ||
           widget.isType<MyGUI::ScrollBar>() || widget.isType<MyGUI::ComboBox>() ||
           widget.isType<MyGUI::ItemBox>();
}

void collect(MyGUI::Widget& widget, const std::vector<std::string>& excluded, std::vector<MyGUI::Widget*>& into) {
    // A hidden or disabled parent hides and disables all it holds.
    if (!widget.getVisible() || !widget.getEnabled())
        return;
    if (std::find(excluded.begin(), excluded.end(), widget.getName()) != excluded.end())
        return;
    const MyGUI::IntCoord coord = widget.getAbsoluteCoord();
    if (widget.getNeedMouseFocus() && reactsToClicks(widget) && coord.width > 0 && coord.height > 0)
        into.push_back(&widget);
    MyGUI::EnumeratorWidgetPtr children = widget.getEnumerator();
    while (children.next())
        collect(*children.current(), excluded, into);
}

} // namespace

std::vector<MyGUI::Widget*> ClickTargets::Collect(const std::vector<std::string>& excluded) {
    std::vector<MyGUI::Widget*> targets;
    MyGUI::Gui* gui = MyGUI::Gui::getInstancePtr();
    if (!gui)
        return targets;
    MyGUI::EnumeratorWidgetPtr roots = gui->getEnumerator();
    while (roots.next())
        collect(*roots.current(), excluded, targets);
    return targets;
}

void ClickTargets::Centre(const MyGUI::Widget& widget, int& x, int& y) {
    const MyGUI::IntCoord coord = widget.getAbsoluteCoord();
    x = coord.left + coord.width / 2;
    y = coord.top + coord.height / 2;
}

} // namespace ui
