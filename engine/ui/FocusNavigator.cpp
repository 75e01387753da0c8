#include "ui/FocusNavigator.h"

#include "ui/Dialog.h"
#include "ui/Manager.h"

#include <MyGUI.h>

#include <OISKeyboard.h>

#include <algorithm>

namespace ui {

namespace {
const char* const kFrameSkin = "KB_Focus";
// The frame stands this far outside the focused widget.
const int kFrameMargin = 5;
// One Left/Right step of a scroll bar, in positions.
const size_t kSliderStep = 5;

MyGUI::IntCoord unite(const MyGUI::IntCoord& a, const MyGUI::IntCoord& b) {
    const int left = std::min(a.left, b.left);
    const int top = std::min(a.top, b.top);
    const int right = std::max(a.right(), b.right());
    const int bottom = std::max(a.bottom(), b.bottom());
    return MyGUI::IntCoord(left, top, right - left, bottom - top);
}
} // namespace

FocusNavigator::FocusNavigator(Dialog& owner) : m_owner(owner) {}

FocusNavigator::~FocusNavigator() {
    *m_alive = false;
    if (auto* manager = Manager::getSingleton())
        manager->RemoveNavigator(this);
    DestroyFrame();
}

void FocusNavigator::Add(MyGUI::Widget* widget) {
    Entry entry;
    entry.widget = widget;
    entry.slider = widget && widget->castType<MyGUI::ScrollBar>(false);
    AddEntry(entry);
}

void FocusNavigator::AddChoice(MyGUI::Widget* field, MyGUI::Widget* left, MyGUI::Widget* right) {
    Entry entry;
    entry.widget = field;
    entry.left = left;
    entry.right = right;
    AddEntry(entry);
}

void FocusNavigator::AddToggle(MyGUI::Widget* box) {
    Entry entry;
    entry.widget = box;
    entry.left = box;
    entry.right = box;
    AddEntry(entry);
}

void FocusNavigator::AddEntry(const Entry& entry) {
    // A missing widget was reported by the dialog's lookup already.
    if (!entry.widget || IndexOf(entry.widget) >= 0)
        return;
    m_entries.push_back(entry);
    HookHover(entry.widget);
    if (entry.left && entry.left != entry.widget)
        HookHover(entry.left);
    if (entry.right && entry.right != entry.widget && entry.right != entry.left)
        HookHover(entry.right);
}

void FocusNavigator::SetPressFocus(MyGUI::Widget* from, MyGUI::Widget* to) {
    const int index = IndexOf(from);
    if (index >= 0)
        m_entries[index].thenFocus = to;
}

void FocusNavigator::HookHover(MyGUI::Widget* widget) {
    // The parts of a composite widget (a scroll bar's thumb) take the mouse for it.
    widget->eventMouseSetFocus += MyGUI::newDelegate(this, &FocusNavigator::notifyHover);
    const size_t count = widget->getChildCount();
    for (size_t i = 0; i < count; ++i) {
        MyGUI::Widget* child = widget->getChildAt(i);
        if (child->getNeedMouseFocus())
            HookHover(child);
    }
}

void FocusNavigator::notifyHover(MyGUI::Widget* sender, MyGUI::Widget*) {
    for (MyGUI::Widget* widget = sender; widget; widget = widget->getParent()) {
        for (size_t i = 0; i < m_entries.size(); ++i) {
            const Entry& entry = m_entries[i];
            if ((entry.widget == widget || entry.left == widget || entry.right == widget) && Focusable(entry)) {
                SetFocusIndex(static_cast<int>(i));
                return;
            }
        }
    }
}

int FocusNavigator::IndexOf(MyGUI::Widget* widget) const {
    for (size_t i = 0; i < m_entries.size(); ++i)
        if (m_entries[i].widget == widget)
            return static_cast<int>(i);
    return -1;
}

bool FocusNavigator::Focusable(const Entry& entry) const {
    return entry.widget && entry.widget->getInheritedEnabled() && entry.widget->getInheritedVisible();
}

MyGUI::Widget* FocusNavigator::focused() const {
    return m_focus >= 0 ? m_entries[m_focus].widget : nullptr;
}

bool FocusNavigator::Focus(MyGUI::Widget* widget) {
    const int index = IndexOf(widget);
    if (index < 0 || !Focusable(m_entries[index]))
        return false;
    SetFocusIndex(index);
    return true;
}

void FocusNavigator::Start() {
    if (!Focus(m_initial)) {
        m_focus = -1;
        Step(+1);
    }
}

bool FocusNavigator::Step(int direction) {
    const int count = static_cast<int>(m_entries.size());
    if (count == 0)
        return false;
    int index = m_focus < 0 ? (direction > 0 ? -1 : count) : m_focus;
    // Wraps round; a list with nothing focusable keeps what it had.
    for (int tries = 0; tries < count; ++tries) {
        index = (index + direction + count) % count;
        if (Focusable(m_entries[index])) {
            SetFocusIndex(index);
            return true;
        }
    }
    return false;
}

void FocusNavigator::SetFocusIndex(int index) {
    if (index == m_focus && m_frame)
        return;
    m_focus = index;
    ScrollIntoView(m_entries[index].widget);
    DrawFrame();
}

void FocusNavigator::DrawFrame() {
    if (m_focus < 0)
        return;
    const Entry& entry = m_entries[m_focus];
    MyGUI::Widget* parent = entry.widget->getParent();
    if (!parent)
        return;
    MyGUI::IntCoord area = entry.widget->getCoord();
    for (MyGUI::Widget* side : {entry.left, entry.right})
        if (side && side->getParent() == parent)
            area = unite(area, side->getCoord());
    area.left -= kFrameMargin;
    area.top -= kFrameMargin;
    area.width += 2 * kFrameMargin;
    area.height += 2 * kFrameMargin;
    // The parent clips its children: a frame that would stand outside it moves in.
    const MyGUI::IntSize room = parent->getClientCoord().size();
    const int left = std::max(area.left, 0);
    const int top = std::max(area.top, 0);
    area = MyGUI::IntCoord(left, top, std::min(area.right(), room.width) - left,
                           std::min(area.bottom(), room.height) - top);

    if (m_frame && m_frame->getParent() != parent)
        DestroyFrame();
    if (!m_frame) {
        // Created last among its siblings, so it is drawn over the widget it frames.
        m_frame = parent->createWidget<MyGUI::Widget>(kFrameSkin, area, MyGUI::Align::Default);
        m_frame->setNeedMouseFocus(false);
        m_frame->setNeedKeyFocus(false);
        m_frame->setVisible(m_frameShown);
    } else {
        m_frame->setCoord(area);
    }
}

void FocusNavigator::ShowFrame(bool visible) {
    m_frameShown = visible;
    if (m_frame && m_frame->getVisible() != visible)
        m_frame->setVisible(visible);
}

void FocusNavigator::DestroyFrame() {
    if (!m_frame)
        return;
    if (auto* gui = MyGUI::Gui::getInstancePtr())
        gui->destroyWidget(m_frame);
    m_frame = nullptr;
}

void FocusNavigator::ScrollIntoView(MyGUI::Widget* widget) {
    for (MyGUI::Widget* parent = widget->getParent(); parent; parent = parent->getParent()) {
        auto* view = parent->castType<MyGUI::ScrollView>(false);
        if (!view)
            continue;
        // Screen coordinates: the canvas between view and entry moves as it scrolls.
        const MyGUI::IntCoord area = view->getViewCoord();
        const int visibleTop = view->getAbsoluteTop() + area.top;
        const int visibleBottom = visibleTop + area.height;
        const int top = widget->getAbsoluteTop() - kFrameMargin;
        const int bottom = widget->getAbsoluteTop() + widget->getHeight() + kFrameMargin;
        MyGUI::IntPoint offset = view->getViewOffset();
        if (top < visibleTop)
            offset.top += visibleTop - top;
        else if (bottom > visibleBottom)
            offset.top -= bottom - visibleBottom;
        if (offset != view->getViewOffset())
            view->setViewOffset(offset);
        return;
    }
}

bool FocusNavigator::Click(MyGUI::Widget* widget) {
    if (!widget || !widget->getInheritedEnabled() || !widget->getInheritedVisible())
        return false;
    widget->eventMouseButtonClick(widget);
    return true;
}

bool FocusNavigator::EndCapture(int keyCode, const std::string& pad) {
    if (!m_capture)
        return false;
    // Taken out first: the receiver may start the next capture or close the dialog.
    Capture done = std::move(m_capture);
    m_capture = nullptr;
    done(keyCode, pad);
    return true;
}

bool FocusNavigator::Perform(EAction action) {
    if (m_capture) {
        if (action == BACK)
            EndCapture(0, std::string());
        return true;
    }
    if (m_focus >= 0 && !Focusable(m_entries[m_focus]))
        m_focus = -1;
    switch (action) {
    case UP:
    case PREVIOUS:
        Step(-1);
        return true;
    case DOWN:
    case NEXT:
        Step(+1);
        return true;
    case LEFT:
    case RIGHT: {
        if (m_focus < 0)
            return true;
        const Entry& entry = m_entries[m_focus];
        const int sign = action == LEFT ? -1 : +1;
        if (entry.slider) {
            auto* bar = entry.widget->castType<MyGUI::ScrollBar>();
            const size_t range = bar->getScrollRange();
            const size_t position = bar->getScrollPosition();
            size_t next = position;
            if (sign < 0)
                next = position > kSliderStep ? position - kSliderStep : 0;
            else if (range > 0)
                next = std::min(position + kSliderStep, range - 1);
            if (next != position) {
                bar->setScrollPosition(next);
                bar->eventScrollChangePosition(bar, next);
            }
            return true;
        }
        Click(sign < 0 ? entry.left : entry.right);
        return true;
    }
    case PRESS: {
        if (m_focus < 0)
            return true;
        const Entry entry = m_entries[m_focus];
        const std::shared_ptr<bool> alive = m_alive;
        // A value row presses its right arrow, so Enter steps through the choices.
        Click(entry.slider ? nullptr : (entry.right && entry.right != entry.widget ? entry.right : entry.widget));
        if (*alive && entry.thenFocus)
            Focus(entry.thenFocus);
        return true;
    }
    case BACK:
        if (!m_back)
            return false;
        Click(m_back);
        return true;
    }
    return false;
}

bool FocusNavigator::ActionForKey(int keyCode, bool shift, EAction& action) {
    switch (keyCode) {
    case OIS::KC_UP:
        action = UP;
        return true;
    case OIS::KC_DOWN:
        action = DOWN;
        return true;
    case OIS::KC_LEFT:
        action = LEFT;
        return true;
    case OIS::KC_RIGHT:
        action = RIGHT;
        return true;
    case OIS::KC_TAB:
        action = shift ? PREVIOUS : NEXT;
        return true;
    case OIS::KC_RETURN:
    case OIS::KC_NUMPADENTER:
    case OIS::KC_SPACE:
        action = PRESS;
        return true;
    case OIS::KC_ESCAPE:
        action = BACK;
        return true;
    default:
        return false;
    }
}

} // namespace ui
