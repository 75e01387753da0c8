#pragma once

#include <ui/Dialog.h>

#include <string>
#include <vector>

namespace MyGUI {
class Button;
class ScrollView;
class Widget;
}

namespace ui {

// Lists every action with its key and its pad control. Pressing one (Enter,
// pad A or a click) waits for the new key or pad control and binds it; a
// binding in use elsewhere swaps over. "Defaults" restores all. Changes are
// stored at once. Opened from the options window.
class ControlsWindow : public Dialog {
public:
    static const base::StringHash kDialogType;

    ControlsWindow();
    virtual ~ControlsWindow();

    const base::StringHash& GetType() const override { return kDialogType; }
    void Resize() override;

    // What a pad control is called on its button ("A", "RT", "LS left").
    static std::string PadLabel(const std::string& pad);
    // The key button of an action's row (for tests).
    MyGUI::Button* key_button(int action) const;
    MyGUI::Button* pad_button(int action) const;

private:
    struct Row {
        MyGUI::Button* key = nullptr;
        MyGUI::Button* pad = nullptr;
    };

    void AddRows();
    void ListFocus();
    void ShowBindings();
    int RowOf(MyGUI::Widget* sender, bool pad) const;

    void notifyKey(MyGUI::Widget* sender);
    void notifyPad(MyGUI::Widget* sender);
    void notifyDefaults(MyGUI::Widget* sender);
    void notifyBack(MyGUI::Widget* sender);

    MyGUI::ScrollView* m_list = nullptr;
    std::vector<Row> m_rows;
};

} // namespace ui
