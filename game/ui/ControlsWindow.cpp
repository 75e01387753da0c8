#include "ui/ControlsWindow.h"

#include <input/Bindings.h>
#include <ui/FocusNavigator.h>

#include <MyGUI.h>

namespace ui {

const base::StringHash ControlsWindow::kDialogType("ControlsWindow");

namespace {
const char* const kLayout = "controls_panel.layout";
const char* const kRowLayout = "controls_template.layout";
const char* const kWaiting = "#{ctl_wait}";

struct PadLabelEntry {
    const char* pad;
    const char* label;
};
const PadLabelEntry kPadLabels[] = {
    {"a", "A"}, {"b", "B"}, {"x", "X"}, {"y", "Y"}, {"back", "Back"}, {"guide", "Guide"}, {"start", "Start"},
    {"leftstick", "L3"}, {"rightstick", "R3"}, {"leftshoulder", "LB"}, {"rightshoulder", "RB"},
    {"dpup", "D-pad up"}, {"dpdown", "D-pad down"}, {"dpleft", "D-pad left"}, {"dpright", "D-pad right"},
    {"lefttrigger", "LT"}, {"righttrigger", "RT"}, {"leftx-", "LS left"}, {"leftx+", "LS right"},
    {"lefty-", "LS up"}, {"lefty+", "LS down"}, {"rightx-", "RS left"}, {"rightx+", "RS right"},
    {"righty-", "RS up"}, {"righty+", "RS down"},
};

std::string rowPrefix(size_t action) {
    return "control" + std::to_string(action) + "/";
}
} // namespace

ControlsWindow::ControlsWindow() : Dialog("Modal", "ControlsWindow", "ControlsWindow", TOP) {
    LoadLayout(kLayout);
    Resize();
    m_list = require<MyGUI::ScrollView>("control_list");
    AddRows();
    if (auto* defaults = require<MyGUI::Button>("btn_ctl_defaults"))
        defaults->eventMouseButtonClick += MyGUI::newDelegate(this, &ControlsWindow::notifyDefaults);
    if (auto* back = require<MyGUI::Button>("btn_ctl_back"))
        back->eventMouseButtonClick += MyGUI::newDelegate(this, &ControlsWindow::notifyBack);
    ShowBindings();
    ListFocus();
    showWindow();
}

ControlsWindow::~ControlsWindow() = default;

void ControlsWindow::Resize() {
    CentreOnScreen();
}

void ControlsWindow::AddRows() {
    const input::Bindings* bindings = input::Bindings::getSingleton();
    if (!m_list || !bindings)
        return;
    int y = 0;
    for (size_t i = 0; i < bindings->bindings().size(); ++i) {
        const std::string prefix = rowPrefix(i);
        const MyGUI::VectorWidgetPtr loaded = MyGUI::LayoutManager::getInstance().loadLayout(kRowLayout, prefix, m_list);
        if (!loaded.empty()) {
            loaded.front()->setPosition(loaded.front()->getLeft(), y);
            y += loaded.front()->getHeight();
        }
        if (auto* label = require<MyGUI::TextBox>(prefix + "txt_action"))
            label->setCaptionWithReplacing("#{ctl_" + bindings->bindings()[i].name + "}");
        Row row;
        row.key = require<MyGUI::Button>(prefix + "btn_key");
        row.pad = require<MyGUI::Button>(prefix + "btn_pad");
        if (row.key)
            row.key->eventMouseButtonClick += MyGUI::newDelegate(this, &ControlsWindow::notifyKey);
        if (row.pad)
            row.pad->eventMouseButtonClick += MyGUI::newDelegate(this, &ControlsWindow::notifyPad);
        m_rows.push_back(row);
    }
    m_list->setCanvasSize(m_list->getViewCoord().width, y);
}

void ControlsWindow::ListFocus() {
    FocusNavigator& focus = Navigation();
    for (const Row& row : m_rows) {
        focus.Add(row.key);
        focus.Add(row.pad);
    }
    focus.Add(m_window->findWidget("btn_ctl_defaults"));
    MyGUI::Widget* back = m_window->findWidget("btn_ctl_back");
    focus.Add(back);
    focus.SetBack(back);
}

void ControlsWindow::ShowBindings() {
    const input::Bindings* bindings = input::Bindings::getSingleton();
    if (!bindings)
        return;
    for (size_t i = 0; i < m_rows.size() && i < bindings->bindings().size(); ++i) {
        const input::Bindings::Binding& binding = bindings->bindings()[i];
        if (m_rows[i].key)
            m_rows[i].key->setCaption(input::Bindings::KeyName(binding.key));
        if (m_rows[i].pad)
            m_rows[i].pad->setCaption(PadLabel(binding.pad));
    }
}

std::string ControlsWindow::PadLabel(const std::string& pad) {
    for (const PadLabelEntry& entry : kPadLabels)
        if (pad == entry.pad)
            return entry.label;
    return pad;
}

MyGUI::Button* ControlsWindow::key_button(int action) const {
    return action >= 0 && action < static_cast<int>(m_rows.size()) ? m_rows[action].key : nullptr;
}

MyGUI::Button* ControlsWindow::pad_button(int action) const {
    return action >= 0 && action < static_cast<int>(m_rows.size()) ? m_rows[action].pad : nullptr;
}

int ControlsWindow::RowOf(MyGUI::Widget* sender, bool pad) const {
    for (size_t i = 0; i < m_rows.size(); ++i)
        if ((pad ? m_rows[i].pad : m_rows[i].key) == sender)
            return static_cast<int>(i);
    return -1;
}

void ControlsWindow::notifyKey(MyGUI::Widget* sender) {
    const int action = RowOf(sender, false);
    if (!AcceptsInput() || action < 0 || !navigator())
        return;
    m_rows[action].key->setCaptionWithReplacing(kWaiting);
    navigator()->Focus(sender);
    navigator()->CaptureNext([this, action](int keyCode, const std::string&) {
        input::Bindings* bindings = input::Bindings::getSingleton();
        // A key without a name (or a cancel) leaves the binding as it was.
        if (bindings && keyCode != 0)
            bindings->SetKey(action, keyCode);
        ShowBindings();
    });
}

void ControlsWindow::notifyPad(MyGUI::Widget* sender) {
    const int action = RowOf(sender, true);
    if (!AcceptsInput() || action < 0 || !navigator())
        return;
    m_rows[action].pad->setCaptionWithReplacing(kWaiting);
    navigator()->Focus(sender);
    // Only the pad answers this one; a key press cancels it.
    navigator()->CaptureNext([this, action](int, const std::string& pad) {
        input::Bindings* bindings = input::Bindings::getSingleton();
        if (bindings && !pad.empty())
            bindings->SetPad(action, pad);
        ShowBindings();
    });
}

void ControlsWindow::notifyDefaults(MyGUI::Widget*) {
    if (!AcceptsInput())
        return;
    if (input::Bindings* bindings = input::Bindings::getSingleton())
        bindings->RestoreDefaults();
    ShowBindings();
}

void ControlsWindow::notifyBack(MyGUI::Widget*) {
    if (AcceptsInput())
        exitWindow();
}

} // namespace ui
