#pragma once

#include "base/Export.h"
#include "base/StringHash.h"
#include "event/ApplicationStateEvent.h"

#include <OGRE/OgreVector.h>

#include <MYGUI/MyGUI_Widget.h>

#include <memory>
#include <string>

namespace MyGUI {
class ControllerItem;
class TextBox;
struct ToolTipInfo;
}

namespace ui {

class FocusNavigator;

// Base of every window of the game. Owns one root widget, is registered with
// the UI manager while shown, slides in and out over a screen edge and deletes
// itself when its exit ends: owners keep plain pointers and never delete it.
class DW_API Dialog {
public:
    enum EEntryDirection { NONE = 0, TOP = 1, RIGHT = 2, BOTTOM = 3, LEFT = 4 };

    // Creates the (hidden) root widget; a derived dialog loads its layout into
    // it, sets position and size and calls showWindow.
    Dialog(std::string layer, std::string windowName, std::string dialogName, EEntryDirection entryDirection);
    // The dialog owns its root widget.
    Dialog(const Dialog& other) = delete;
    Dialog& operator=(const Dialog& other) = delete;
    virtual ~Dialog();

    virtual const base::StringHash& GetType() const = 0;
    virtual void notifyToolTip(MyGUI::Widget* widget, const MyGUI::ToolTipInfo& info);
    virtual void Update(double seconds);
    virtual void Resize() = 0;

    MyGUI::Widget* getWindow() const { return m_window; }
    const Ogre::Vector2& position() const { return m_position; }
    const Ogre::Vector2& size() const { return m_size; }
    void set_position(const int& x, const int& y);
    void set_size(const int& width, const int& height);

    // Registers, shows and slides the window in. Call once per dialog: the
    // GUI library refuses a second tooltip subscription.
    void showWindow();
    // Slides the window out and then deletes the dialog; with no entry
    // direction the dialog is gone when this returns. A dialog that is
    // already leaving ignores further calls.
    void exitWindow();
    // Ends every exit: runs OnClose, destroys the widget, unregisters and
    // deletes the dialog.
    void removeWindow(MyGUI::Widget* widget);

    bool IsExiting() const { return m_exiting; }
    EEntryDirection entry_direction() const { return m_entryDirection; }
    const std::string& layout_name() const { return m_layoutName; }

    // Reports a missing widget as "<dialog>: <layout> has no <Type> "<name>"".
    void ReportMissing(const std::string& typeName, const std::string& name) const;

    // The keyboard focus of this dialog, none for a dialog that lists no widgets.
    FocusNavigator* navigator() const { return m_navigator.get(); }

protected:
    // The dialog's keyboard focus, made on first use: list the focusable
    // widgets in order before showWindow, which starts it.
    FocusNavigator& Navigation();

    void AddTooltips(MyGUI::Widget* widget);

    // Loads the dialog's layout into its window (empty name prefix) and sizes
    // the dialog to the layout's root widget. False, with one line on stderr,
    // when the layout brings no widget.
    bool LoadLayout(const std::string& file);

    // The widget of this name below the window, as type T; none, with one
    // line on stderr, when it is missing or of another type.
    template <typename T> T* require(const std::string& name) const {
        MyGUI::Widget* widget = m_window ? m_window->findWidget(name) : nullptr;
        T* typed = widget ? widget->castType<T>(false) : nullptr;
        if (!typed)
            ReportMissing(T::getClassTypeName(), name);
        return typed;
    }

    // Clicks reach a dialog only while it is not leaving.
    bool AcceptsInput() const { return m_window && !m_exiting; }

    // Queues one application-state change; later requests of the same dialog
    // are dropped, so a double click never changes the state twice.
    bool RequestState(event::ApplicationStateEvent::EType kind, const std::string& stateName);
    bool StateRequested() const { return m_stateRequested; }

    // Writes the caption only when the text changes: the GUI re-lays out text
    // on every caption write.
    static void SetText(MyGUI::Widget* widget, const std::string& text);

    // Centres the dialog on the screen (the layout of the modal windows).
    void CentreOnScreen();

    // Runs once before the window's widgets are destroyed: the place to let go
    // of anything drawn into them (render boxes, canvases).
    virtual void OnClose() {}

    MyGUI::Widget* m_window = nullptr;
    int m_alignment = 2;
    std::string m_layer;
    std::string m_windowName;
    std::string m_dialogName;
    std::string m_skin = "PanelEmpty";
    EEntryDirection m_entryDirection;
    bool m_exiting = false;
    Ogre::Vector2 m_position = Ogre::Vector2(1.f, 1.f);
    Ogre::Vector2 m_size = Ogre::Vector2(400.f, 200.f);
    std::string m_layoutName;

private:
    // The point outside the screen where a slide starts and ends.
    Ogre::Vector2 offscreenPoint() const;
    bool slideTo(const Ogre::Vector2& target, bool removeWhenDone);
    void slideOutDone(MyGUI::Widget* widget, MyGUI::ControllerItem* controller);

    std::unique_ptr<FocusNavigator> m_navigator;
    bool m_closed = false;
    bool m_stateRequested = false;
};

} // namespace ui
