#include "ui/Manager.h"

#include "base/Config.h"
#include "base/StartupTrace.h"
#include "event/DialogEvent.h"
#include "event/KeyEvent.h"
#include "event/Manager.h"
#include "event/MouseEvent.h"
#include "event/UIEvent.h"
#include "file/System.h"
#include "ui/Dialog.h"
#include "ui/IDialogFactory.h"
#include "ui/MessageBoxA.h"

#include <MyGUI.h>
#include <MyGUI_OgrePlatform.h>

#include <algorithm>
#include <exception>
#include <iostream>

DW_SINGLETON_DEFINE(ui::Manager)

namespace ui {

namespace {
const char* const kLogName = "kb_gui.log";
const char* const kResourceGroup = "UI";
const char* const kTooltipPanel = "tooltipPanel";
const int kKeyH = 35;

const base::StringHash* const kListenedEvents[] = {
    &event::KeyEvent::kEventType,
    &event::MouseEvent::kEventType,
    &event::UIEvent::kEventType,
    &event::DialogEvent::kEventType,
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
    }
    return false;
}

bool Manager::Update(double seconds) {
    // A dialog may close itself inside its update; continue after its key.
    auto it = m_dialogs.begin();
    while (it != m_dialogs.end()) {
        const uint32_t key = it->first;
        it->second->Update(seconds);
        it = m_dialogs.upper_bound(key);
    }
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
    m_dialogs.emplace(dialog->GetType().hash(), dialog);
    m_dirty = true;
}

void Manager::RemoveDialog(Dialog* dialog) {
    if (!dialog)
        return;
    const base::StringHash& type = dialog->GetType();
    // Only the dialog that holds the entry gives it up: a second dialog of the
    // type closing must not unregister the one still shown.
    auto it = m_dialogs.find(type.hash());
    if (it != m_dialogs.end() && it->second == dialog)
        m_dialogs.erase(it);
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
