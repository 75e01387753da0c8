#pragma once

#include "base/Export.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace MyGUI {
class Widget;
}

namespace ui {

class Dialog;

// Keyboard (and pad) focus over one dialog's widgets, in the order the dialog
// lists them. Up/Down and Tab move the focus, skipping hidden and disabled
// widgets; Left/Right change a value; Press clicks; Back clicks the dialog's
// back button. The mouse moves the focus too, so both can be mixed. The UI
// manager hands the actions to the navigator of the dialog shown last.
class DW_API FocusNavigator {
public:
    enum EAction { UP, DOWN, LEFT, RIGHT, NEXT, PREVIOUS, PRESS, BACK };

    explicit FocusNavigator(Dialog& owner);
    FocusNavigator(const FocusNavigator&) = delete;
    FocusNavigator& operator=(const FocusNavigator&) = delete;
    ~FocusNavigator();

    // A widget that Press clicks. A scroll bar moves with Left/Right instead.
    void Add(MyGUI::Widget* widget);
    // A value with arrow buttons beside it: Left and Right click them.
    void AddChoice(MyGUI::Widget* field, MyGUI::Widget* left, MyGUI::Widget* right);
    // A check box: Left, Right and Press all flip it.
    void AddToggle(MyGUI::Widget* box);
    // After pressing `from` the focus goes on to `to` (a list entry to its Start).
    void SetPressFocus(MyGUI::Widget* from, MyGUI::Widget* to);
    // The button that Back (Escape, pad B) clicks; none leaves Back unused.
    void SetBack(MyGUI::Widget* button) { m_back = button; }
    bool HasBack() const { return m_back != nullptr; }

    // Moves the focus to a listed widget; false when it is not listed or cannot take it.
    bool Focus(MyGUI::Widget* widget);
    MyGUI::Widget* focused() const;
    // The first focusable entry, or the one the dialog asked for.
    void SetInitialFocus(MyGUI::Widget* widget) { m_initial = widget; }
    // Called when the dialog is shown: focuses the initial entry.
    void Start();

    // Rebinding: the next key pressed (or pad control) goes to `done` instead
    // of moving the focus; Back cancels, which hands over 0 and "".
    using Capture = std::function<void(int keyCode, const std::string& pad)>;
    void CaptureNext(Capture done) { m_capture = std::move(done); }
    bool Capturing() const { return static_cast<bool>(m_capture); }
    // Ends a capture with this key or pad control; false when none runs.
    bool EndCapture(int keyCode, const std::string& pad);

    // Performs one action; true when the dialog used it. The dialog may be
    // gone afterwards (a button that closes it), so nothing is touched then.
    bool Perform(EAction action);
    // The key-code mapping of the keyboard; false for keys it leaves alone.
    static bool ActionForKey(int keyCode, bool shift, EAction& action);

    Dialog& owner() const { return m_owner; }
    // Only the window that takes the keys shows its focus; one behind it keeps
    // its focus for when it is on top again.
    void ShowFrame(bool visible);
    // The frame drawn around the focused widget (for tests and pictures).
    MyGUI::Widget* focus_frame() const { return m_frame; }
    size_t size() const { return m_entries.size(); }

private:
    struct Entry {
        MyGUI::Widget* widget = nullptr;
        MyGUI::Widget* left = nullptr;
        MyGUI::Widget* right = nullptr;
        MyGUI::Widget* thenFocus = nullptr;
        bool slider = false;
    };

    void AddEntry(const Entry& entry);
    bool Focusable(const Entry& entry) const;
    int IndexOf(MyGUI::Widget* widget) const;
    bool Step(int direction);
    void SetFocusIndex(int index);
    void DrawFrame();
    void DestroyFrame();
    void ScrollIntoView(MyGUI::Widget* widget);
    void HookHover(MyGUI::Widget* widget);
    void notifyHover(MyGUI::Widget* sender, MyGUI::Widget* old);
    static bool Click(MyGUI::Widget* widget);

    Dialog& m_owner;
    std::vector<Entry> m_entries;
    int m_focus = -1;
    MyGUI::Widget* m_initial = nullptr;
    MyGUI::Widget* m_back = nullptr;
    MyGUI::Widget* m_frame = nullptr;
    bool m_frameShown = true;
    Capture m_capture;
    // Cleared by the destructor: a click may delete the dialog and with it this navigator.
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

} // namespace ui
