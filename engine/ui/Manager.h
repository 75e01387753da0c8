#pragma once

#include "base/Export.h"
#include "base/Singleton.h"
#include "base/StringHash.h"
#include "event/IListener.h"

#include <OGRE/Bites/OgreWindowEventUtilities.h>
#include <OGRE/OgreVector.h>

#include <cstdint>
#include <list>
#include <map>
#include <string>
#include <vector>

namespace Ogre {
class RenderWindow;
class SceneManager;
}
namespace MyGUI {
class Gui;
class OgrePlatform;
}

namespace event {
class PadEvent;
}

namespace ui {

class Dialog;
class FocusNavigator;
class IDialogFactory;
class MessageBoxA;

// The GUI service: runs the GUI library on the render window, feeds it the
// engine's input events, keeps the open dialogs (one per type), queues
// message boxes, shows tooltips and hides or shows all dialogs on the H key.
class DW_API Manager : public event::IListener,
                       public OgreBites::WindowEventListener,
                       public base::Singleton<Manager> {
public:
    using LanguageList = std::vector<std::string>;

    Manager();
    virtual ~Manager();

    // Starts the GUI on the window; takes ownership of the factory.
    bool init(Ogre::RenderWindow* window, Ogre::SceneManager* sceneManager, IDialogFactory* factory,
              std::string coreFile);

    const char* Name() override { return "CustomUI"; }
    // Never consumes: other listeners still receive the event.
    bool HandleEvent(const event::IEvent& event) override;

    bool Update(double seconds);
    bool IsDirty() const { return m_dirty; }

    void windowResized(Ogre::RenderWindow* window) override;

    bool ToggleGUI(bool visible);
    // Closes the open dialog of this type, or has the factory create one.
    bool toggleDialog(const base::StringHash& type);
    Dialog* GetDialog(const base::StringHash& type) const;
    void AddDialog(Dialog* dialog);
    void RemoveDialog(Dialog* dialog);
    void AddMessageBox(MessageBoxA* box);
    void RemoveMessageBox(MessageBoxA* box);

    void AddLanguage(const std::string& name);
    const LanguageList* GetLanguages() const { return &m_languages; }
    const std::string GetCurrentLanguage() const;
    // Takes effect at the next start.
    void SetLanguage(const std::string& name);

    void EnableMousePointer(bool visible);

    int getWidth() const;
    int getHeight() const;
    Ogre::Vector2 getScreenCenter() const;

    // Keyboard focus: the navigator of the dialog shown last gets the keys and
    // the pad's menu actions; what it uses goes no further.
    void AddNavigator(FocusNavigator* navigator);
    void RemoveNavigator(FocusNavigator* navigator);
    FocusNavigator* ActiveNavigator() const;
    // One menu action (a FocusNavigator::EAction) from another device, the pad;
    // true when a window used it.
    bool Navigate(int action);

    size_t DialogCount() const { return m_dialogs.size(); }
    size_t QueuedMessageBoxes() const { return m_messageBoxes.size(); }
    bool IsGUIVisible() const { return m_guiVisible; }

private:
    bool HandleFocusKey(int keyCode, bool pressed);
    bool HandleFocusPad(const event::PadEvent& pad);
    void createTooltipPanel();
    void closeAllDialogs();

    MyGUI::Gui* m_gui = nullptr;
    MyGUI::OgrePlatform* m_platform = nullptr;
    std::map<uint32_t, Dialog*> m_dialogs;
    std::vector<Dialog*> m_waiting;
    std::list<MessageBoxA*> m_messageBoxes;
    LanguageList m_languages;
    bool m_guiVisible = false;
    bool m_dirty = false;
    IDialogFactory* m_factory = nullptr;
    Ogre::RenderWindow* m_window = nullptr;
    bool m_listening = false;
    std::vector<FocusNavigator*> m_navigators;
    bool m_shiftHeld = false;
};

} // namespace ui

DW_SINGLETON_DECLARE(ui::Manager)
