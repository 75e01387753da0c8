#pragma once

#include "base/Export.h"
#include "base/StringHash.h"

#include <OGRE/OgreVector.h>

#include <string>

namespace MyGUI {
class ControllerItem;
class Widget;
struct ToolTipInfo;
}

namespace ui {

// Base of every window of the game. Owns one root widget, is registered with
// the UI manager while shown, slides in and out over a screen edge and deletes
// itself when its exit ends: owners keep plain pointers and never delete it.
class DW_API Dialog {
public:
    enum EEntryDirection { NONE = 0, TOP = 1, RIGHT = 2, BOTTOM = 3, LEFT = 4 };

    // Creates the (hidden) root widget; a derived dialog loads its layout into
    // it, sets position and size and calls showWindow.
    Dialog(std::string layer, std::string windowName, std::string dialogName, EEntryDirection entryDirection);
    Dialog(const Dialog& other) = default;
    Dialog& operator=(const Dialog& other) = default;
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
    // direction the dialog is gone when this returns.
    void exitWindow();
    // Ends every exit: destroys the widget, unregisters and deletes the dialog.
    void removeWindow(MyGUI::Widget* widget);

    bool IsExiting() const { return m_exiting; }
    EEntryDirection entry_direction() const { return m_entryDirection; }

protected:
    void AddTooltips(MyGUI::Widget* widget);

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

private:
    // The point outside the screen where a slide starts and ends.
    Ogre::Vector2 offscreenPoint() const;
    bool slideTo(const Ogre::Vector2& target, bool removeWhenDone);
    void slideOutDone(MyGUI::Widget* widget, MyGUI::ControllerItem* controller);
};

} // namespace ui
