#include "ui/Manager.h"

#include "base/Config.h"
#include "base/StartupTrace.h"
#include "event/DialogEvent.h"
#include "event/KeyEvent.h"
#include "event/Manager.h"
#include "event/MouseEvent.h"
#include "event/PadEvent.h"
#include "event/UIEvent.h"
#include "file/System.h"
#include "ui/Dialog.h"
#include "ui/FocusNavigator.h"
#include "ui/GuiClock.h"
#include "ui/IDialogFactory.h"
#include "ui/MessageBoxA.h"

#include <MyGUI.h>
#include <MyGUI_OgrePlatform.h>

#include <algorithm>
#include <exception>
#include <iostream>
#include <set>

DW_SINGLETON_DEFINE(ui::Manager)

namespace ui {

namespace {
const char* const kLogName = "kb_gui.log";
const char* const kResourceGroup = "UI";
const char* const kTooltipPanel = "tooltipPanel";
const int kKeyH = 35;

// Keys pressed into a window and not yet released (the manager is one instance).
std::set<int> s_windowKeys;

const base::StringHash* const kListenedEvents[] = {
    &event::KeyEvent::kEventType,
    &event::MouseEvent::kEventType,
    &event::UIEvent::kEventType,
    &event::DialogEvent::kEventType,
    &event::PadEvent::kEventType,
};

// The pad in a window: D-pad or left stick move, A presses, B and Start go back.
struct PadNavigation {
    const char* control;
    FocusNavigator::EAction action;
};
const PadNavigation kPadNavigation[] = {
    {"dpup", FocusNavigator::UP},       {"lefty-", FocusNavigator::UP},     {"dpdown", FocusNavigator::DOWN},
    {"lefty+", FocusNavigator::DOWN},   {"dpleft", FocusNavigator::LEFT},   {"leftx-", FocusNavigator::LEFT},
    {"dpright", FocusNavigator::RIGHT}, {"leftx+", FocusNavigator::RIGHT},  {"a", FocusNavigator::PRESS},
    {"b", FocusNavigator::BACK},        {"start", FocusNavigator::BACK},
};
} // namespace

Manager::Manager() = default;

Manager::~Manager() {
    if (m_listening) {
        if (auto* events = event::Manager::getSingleton())
            for (const base::StringHash* type : kListenedEvents)
                events->RemoveListener(*this, *type);
    }
    if (m_window)
        OgreBites::WindowEventUtilities::removeWindowEventListener(m_window, this);
    closeAllDialogs();
    if (m_gui) {
        m_gui->shutdown();
        delete m_gui;
        m_gui = nullptr;
    }
    if (m_platform) {
        m_platform->shutdown();
        delete m_platform;
        m_platform = nullptr;
    }
    delete m_factory;
    m_factory = nullptr;
    m_languages.clear();
    m_messageBoxes.clear();
    m_dialogs.clear();
}

void Manager::closeAllDialogs() {
    // Dialogs delete themselves when they close, so those still open at
    // shutdown are closed here, while the GUI that holds their widgets runs.
    // One at a time: closing one may close others (a menu its sub-windows).
    // Queued message boxes wait outside the map until their turn.
    for (;;) {
        Dialog* dialog = nullptr;
        if (!m_dialogs.empty())
            dialog = m_dialogs.begin()->second;
        else if (!m_waiting.empty())
            dialog = m_waiting.front();
        else if (!m_messageBoxes.empty())
            dialog = m_messageBoxes.front();
        else
            break;
        const size_t before = m_dialogs.size() + m_waiting.size() + m_messageBoxes.size();
        dialog->removeWindow(dialog->getWindow());
        if (m_dialogs.size() + m_waiting.size() + m_messageBoxes.size() >= before) {
            std::cerr << "ui: a dialog reopened itself while the GUI shut down" << std::endl;
            break;
        }
    }
}

bool Manager::init(Ogre::RenderWindow* window, Ogre::SceneManager* sceneManager, IDialogFactory* factory,
                   std::string coreFile) {
    m_factory = factory;
    if (!window || !sceneManager) {
        std::cerr << "ui: no render window or scene manager to start the GUI on" << std::endl;
        return false;
    }
    if (m_platform || m_gui) {
        std::cerr << "ui: the GUI is running already" << std::endl;
        return false;
    }

    // A missing shader or core file must end start-up cleanly, not crash it.
    try {
        m_platform = new MyGUI::OgrePlatform();
        // The library's log goes to its file only; standard error stays for our own diagnostics.
        MyGUI::LogManager::getInstance().setSTDOutputEnabled(false);
        m_platform->initialise(window, sceneManager, kResourceGroup,
                               file::System::GetUserDataDirectory() + kLogName);
        m_window = window;
        base::StartupTrace::Mark("GUI platform (its shaders compiled)");

        m_gui = new MyGUI::Gui();
        m_gui->initialise(coreFile);
    } catch (const std::exception& e) {
        // The library's messages carry source locations on further lines; one line is enough here.
        const std::string what = e.what();
        std::cerr << "ui: the GUI did not start: " << what.substr(0, what.find('\n')) << std::endl;
        return false;
    }

    std::string language = "Deutsch";
    if (auto* config = base::Config::getSingleton())
        language = config->getString("ui", "language", language);
    MyGUI::LanguageManager::getInstance().setCurrentLanguage(language);

    OgreBites::WindowEventUtilities::addWindowEventListener(window, this);

    if (auto* events = event::Manager::getSingleton()) {
        for (const base::StringHash* type : kListenedEvents)
            events->AddListener(*this, *type);
        m_listening = true;
    }

    if (!m_platform || !m_gui)
        return false;

    try {
        createTooltipPanel();
    } catch (const std::exception& e) {
        std::cerr << "ui: no tooltip panel: " << e.what() << std::endl;
        return false;
    }
    return true;
}

void Manager::createTooltipPanel() {
    MyGUI::Widget* panel = m_gui->createWidgetT("Widget", "PanelSkin", MyGUI::IntCoord(200, 480, 144, 32),
                                                MyGUI::Align::Left, "ToolTip", kTooltipPanel);
    MyGUI::LayoutManager::getInstance().loadLayout("tooltip.layout", "", panel);
    panel->setVisible(false);
}

bool Manager::HandleEvent(const event::IEvent& event) {
    const base::StringHash& type = event.event_type();
    MyGUI::InputManager* input = MyGUI::InputManager::getInstancePtr();

    if (type == event::KeyEvent::kEventType) {
        const auto& key = static_cast<const event::KeyEvent&>(event);
        const MyGUI::KeyCode code = MyGUI::KeyCode::Enum(key.key());
        const bool pressed = key.key_event_type() == event::KeyEvent::KEY_PRESSED;
        if (key.key() == OIS::KC_LSHIFT || key.key() == OIS::KC_RSHIFT)
            m_shiftHeld = pressed;
        if (HandleFocusKey(key.key(), pressed))
            return true;
        if (key.key_event_type() == event::KeyEvent::KEY_PRESSED) {
            if (input)
                input->injectKeyPress(code, 0);
            if (key.key() == kKeyH) {
                if (auto* events = event::Manager::getSingleton())
                    events->QueueEvent(new event::UIEvent(event::UIEvent::TOGGLE_GUI));
            }
        } else if (key.key_event_type() == event::KeyEvent::KEY_RELEASED) {
            if (input)
                input->injectKeyRelease(code);
        }
    } else if (type == event::MouseEvent::kEventType) {
        const auto& mouse = static_cast<const event::MouseEvent&>(event);
        const int x = static_cast<int>(mouse.mouse_state().abs_x);
        const int y = static_cast<int>(mouse.mouse_state().abs_y);
        const MyGUI::MouseButton button = MyGUI::MouseButton::Enum(mouse.mouse_button());
        if (input) {
            switch (mouse.mouse_event()) {
            case event::MouseEvent::MOUSE_PRESSED:
                input->injectMousePress(x, y, button);
                break;
            case event::MouseEvent::MOUSE_RELEASED:
                input->injectMouseRelease(x, y, button);
                break;
            case event::MouseEvent::MOUSE_MOVED:
                input->injectMouseMove(x, y, static_cast<int>(mouse.mouse_state().abs_z));
                break;
            }
        }
    } else if (type == event::UIEvent::kEventType) {
        const auto& ui = static_cast<const event::UIEvent&>(event);
        if (ui.type() == event::UIEvent::TOGGLE_GUI) {
            m_guiVisible = !m_guiVisible;
            ToggleGUI(m_guiVisible);
        }
    } else if (type == event::DialogEvent::kEventType) {
        toggleDialog(static_cast<const event::DialogEvent&>(event).GetType());
    } else if (type == event::PadEvent::kEventType) {
        return HandleFocusPad(static_cast<const event::PadEvent&>(event));
    }
    return false;
}

bool Manager::HandleFocusKey(int keyCode, bool pressed) {
    // A release whose press a window took stays with the windows, even when
    // that window has gone since (Enter on a button that closes it).
    const bool windowKey = !pressed && s_windowKeys.erase(keyCode) > 0;
    FocusNavigator* navigator = ActiveNavigator();
    if (navigator && navigator->Capturing()) {
        // Every key belongs to the rebinding; Escape (released) cancels it.
        if (keyCode == OIS::KC_ESCAPE) {
            if (!pressed)
                navigator->EndCapture(0, std::string());
        } else if (pressed) {
            s_windowKeys.insert(keyCode);
            navigator->EndCapture(keyCode, std::string());
        }
        return true;
    }
    FocusNavigator::EAction action;
    if (!navigator || !FocusNavigator::ActionForKey(keyCode, m_shiftHeld, action))
        return windowKey;
    // Escape acts when it is let go (the input handler sends no press).
    if (action == FocusNavigator::BACK) {
        if (pressed) {
            if (navigator->HasBack())
                s_windowKeys.insert(keyCode);
            return navigator->HasBack();
        }
        return navigator->Perform(action) || windowKey;
    }
    if (pressed) {
        s_windowKeys.insert(keyCode);
        navigator->Perform(action);
    }
    return true;
}

bool Manager::HandleFocusPad(const event::PadEvent& pad) {
    FocusNavigator* navigator = ActiveNavigator();
    if (!navigator)
        return false;
    // Any control a window could use stays with it, released as well as pressed.
    if (navigator->Capturing()) {
        if (pad.pressed())
            navigator->EndCapture(0, pad.control());
        return true;
    }
    for (const PadNavigation& entry : kPadNavigation) {
        if (pad.control() != entry.control)
            continue;
        if (pad.pressed())
            navigator->Perform(entry.action);
        return true;
    }
    return true;
}

bool Manager::Navigate(int action) {
    FocusNavigator* navigator = ActiveNavigator();
    return navigator && navigator->Perform(static_cast<FocusNavigator::EAction>(action));
}

void Manager::AddNavigator(FocusNavigator* navigator) {
    if (!navigator)
        return;
    RemoveNavigator(navigator);
    m_navigators.push_back(navigator);
}

void Manager::RemoveNavigator(FocusNavigator* navigator) {
    m_navigators.erase(std::remove(m_navigators.begin(), m_navigators.end(), navigator), m_navigators.end());
}

FocusNavigator* Manager::ActiveNavigator() const {
    for (auto it = m_navigators.rbegin(); it != m_navigators.rend(); ++it) {
        const Dialog& dialog = (*it)->owner();
        MyGUI::Widget* window = dialog.getWindow();
        // A leaving dialog or a GUI hidden with H takes no keys.
        if (!dialog.IsExiting() && window && window->getVisible())
            return *it;
    }
    return nullptr;
}

bool Manager::Update(double seconds) {
    GuiClock::Advance(seconds);
    // A dialog may close itself inside its update; continue after its key.
    auto it = m_dialogs.begin();
    while (it != m_dialogs.end()) {
        const uint32_t key = it->first;
        it->second->Update(seconds);
        it = m_dialogs.upper_bound(key);
    }
    const FocusNavigator* active = ActiveNavigator();
    for (FocusNavigator* navigator : m_navigators)
        navigator->ShowFrame(navigator == active);
    m_dirty = false;
    return true;
}

void Manager::windowResized(Ogre::RenderWindow* window) {
    if (m_platform && window)
        m_platform->getRenderManagerPtr()->setViewSize(static_cast<int>(window->getWidth()),
                                                       static_cast<int>(window->getHeight()));
    for (auto& entry : m_dialogs)
        entry.second->Resize();
}

bool Manager::ToggleGUI(bool visible) {
    for (auto& entry : m_dialogs)
        if (MyGUI::Widget* window = entry.second->getWindow())
            window->setVisible(visible);
    return true;
}

bool Manager::toggleDialog(const base::StringHash& type) {
    auto it = m_dialogs.find(type.hash());
    if (it != m_dialogs.end()) {
        it->second->exitWindow();
    } else {
        if (m_factory)
            m_factory->CreateDialog(type);
        m_dirty = true;
    }
    return true;
}

Dialog* Manager::GetDialog(const base::StringHash& type) const {
    auto it = m_dialogs.find(type.hash());
    return it == m_dialogs.end() ? nullptr : it->second;
}

void Manager::AddDialog(Dialog* dialog) {
    if (!dialog)
        return;
    auto placed = m_dialogs.emplace(dialog->GetType().hash(), dialog);
    // A second dialog of a type whose first is still leaving waits for the
    // entry; until then it is kept here so that shutdown still closes it.
    if (!placed.second && placed.first->second != dialog &&
        std::find(m_waiting.begin(), m_waiting.end(), dialog) == m_waiting.end())
        m_waiting.push_back(dialog);
    m_dirty = true;
}

void Manager::RemoveDialog(Dialog* dialog) {
    if (!dialog)
        return;
    const base::StringHash& type = dialog->GetType();
    // Only the dialog that holds the entry gives it up (a second one of the
    // type closing must not unregister the one still shown), and hands it to
    // the first dialog of its type that waits.
    m_waiting.erase(std::remove(m_waiting.begin(), m_waiting.end(), dialog), m_waiting.end());
    auto it = m_dialogs.find(type.hash());
    if (it != m_dialogs.end() && it->second == dialog) {
        m_dialogs.erase(it);
        auto next = std::find_if(m_waiting.begin(), m_waiting.end(),
                                 [&type](const Dialog* waiting) { return waiting->GetType() == type; });
        if (next != m_waiting.end()) {
            m_dialogs.emplace(type.hash(), *next);
            m_waiting.erase(next);
        }
    }
    if (type == MessageBoxA::kDialogType)
        RemoveMessageBox(static_cast<MessageBoxA*>(dialog));
}

void Manager::AddMessageBox(MessageBoxA* box) {
    if (!box)
        return;
    m_messageBoxes.push_back(box);
    if (m_messageBoxes.front() == box)
        box->showWindow();
}

void Manager::RemoveMessageBox(MessageBoxA* box) {
    if (m_messageBoxes.empty())
        return;
    if (m_messageBoxes.front() == box) {
        m_messageBoxes.pop_front();
        if (!m_messageBoxes.empty())
            m_messageBoxes.front()->showWindow();
    } else {
        m_messageBoxes.remove(box);
    }
}

void Manager::AddLanguage(const std::string& name) {
    m_languages.push_back(name);
}

const std::string Manager::GetCurrentLanguage() const {
    if (auto* languages = MyGUI::LanguageManager::getInstancePtr())
        return languages->getCurrentLanguage();
    return std::string();
}

void Manager::SetLanguage(const std::string& name) {
    if (auto* config = base::Config::getSingleton())
        config->setString("ui", "language", name);
}

void Manager::EnableMousePointer(bool visible) {
    if (auto* pointers = MyGUI::PointerManager::getInstancePtr())
        pointers->setVisible(visible);
}

int Manager::getWidth() const {
    return m_window ? static_cast<int>(m_window->getWidth()) : 0;
}

int Manager::getHeight() const {
    return m_window ? static_cast<int>(m_window->getHeight()) : 0;
}

Ogre::Vector2 Manager::getScreenCenter() const {
    return Ogre::Vector2(static_cast<float>(getWidth() / 2), static_cast<float>(getHeight() / 2));
}

} // namespace ui
