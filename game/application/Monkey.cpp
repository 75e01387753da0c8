#include "application/Monkey.h"

#include "application/GameState.h"
#include "application/Main.h"
#include "game/Autopilot.h"
#include "game/GameCore.h"
#include "game/MissionData.h"

#include <display/Core.h>
#include <event/KeyEvent.h>
#include <event/Manager.h>
#include <event/MouseEvent.h>
#include <ui/ClickTargets.h>

#include <OGRE/OgreRenderWindow.h>

#include <MyGUI.h>

#include <sstream>

namespace application {

const int Monkey::kMaxPause = 12;
const std::vector<std::string> Monkey::kExcludedWidgets = {"btn_exit"};

namespace {

// The keys the game reacts to: driving, Space at a stand, Escape and Enter in
// windows, V next vehicle, R reset, C and 1-4 cameras, H the GUI.
const OIS::KeyCode kGameKeys[] = {OIS::KC_UP,     OIS::KC_DOWN,   OIS::KC_LEFT, OIS::KC_RIGHT, OIS::KC_SPACE,
                                  OIS::KC_ESCAPE, OIS::KC_RETURN, OIS::KC_V,    OIS::KC_R,     OIS::KC_C,
                                  OIS::KC_1,      OIS::KC_2,      OIS::KC_3,    OIS::KC_4,     OIS::KC_H};
const size_t kDrivingKeys = 4; // the first four are held rather than tapped
const uint32_t kLastKeyCode = OIS::KC_MEDIASELECT;
const int kWindowSizes[][2] = {{1024, 768}, {800, 600}, {1280, 1024}, {640, 480}, {1280, 720}};

// Out of 100: what an action is.
const uint32_t kClickWidgetShare = 55;
const uint32_t kGameKeyShare = 33;
const uint32_t kResizeShare = 2;
const uint32_t kAnyKeyShare = 5; // the rest clicks anywhere
// Chance per pass, out of this, that the autopilot takes over a running mission.
const uint32_t kCopilotOdds = 900;
const double kCopilotMinSeconds = 15.0;
const double kCopilotMaxSeconds = 90.0;

void queue(const event::IEvent* e) {
    if (event::Manager* events = event::Manager::getSingleton())
        events->QueueEvent(e);
    else
        delete e;
}

event::MouseEvent::SMouseState at(int x, int y) {
    event::MouseEvent::SMouseState state;
    state.abs_x = static_cast<float>(x);
    state.abs_y = static_cast<float>(y);
    return state;
}

} // namespace

Monkey::Monkey(uint32_t seed) : m_random(seed), m_seed(seed) {}

Monkey::~Monkey() = default;

uint32_t Monkey::below(uint32_t limit) {
    // Plain modulo: the same numbers from every standard library.
    return limit == 0 ? 0 : static_cast<uint32_t>(m_random() % limit);
}

std::string Monkey::Summary() const {
    std::ostringstream line;
    line << "monkey: " << m_events << " events, " << m_changes << " state changes, " << m_missions
         << " missions started, seed " << m_seed;
    return line.str();
}

void Monkey::Update(double seconds) {
    m_gameTime += seconds;
    WatchStates();
    HoldBackExits();

    if (m_copilot) {
        m_copilot->Update(seconds);
        m_copilotLeft -= seconds;
        if (m_copilotLeft <= 0.0 || m_copilot->IsFinished())
            StopCopilot();
        return;
    }

    for (auto it = m_holds.begin(); it != m_holds.end();) {
        if (--it->passes <= 0) {
            Release(it->key);
            it = m_holds.erase(it);
        } else {
            ++it;
        }
    }
    if (m_mouseUpIn >= 0 && m_mouseUpIn-- == 0) {
        queue(new event::MouseEvent(event::MouseEvent::MOUSE_RELEASED, event::MouseEvent::MOUSE_BUTTON_LEFT,
                                    at(m_mouseX, m_mouseY)));
        ++m_events;
    }

    Main* app = Main::getSingleton();
    game::GameCore* core = game::GameCore::getSingleton();
    const bool driving = app && dynamic_cast<GameState*>(app->CurrentState()) && core && core->mission_number() > 0 &&
                         core->mission_data() && core->mission_data()->IsPlayable() &&
                         !core->mission_data()->IsComplete();
    if (driving && below(kCopilotOdds) == 0) {
        StartCopilot();
        return;
    }
    if (m_pause-- > 0)
        return;
    m_pause = static_cast<int>(below(kMaxPause + 1));
    Act();
}

void Monkey::HoldBackExits() {
    // Neither a click nor the keyboard focus may reach them: disabled, they are skipped by both.
    MyGUI::Gui* gui = MyGUI::Gui::getInstancePtr();
    if (!gui)
        return;
    for (const std::string& name : kExcludedWidgets)
        if (MyGUI::Widget* widget = gui->findWidgetT(name, false))
            if (widget->getEnabled())
                widget->setEnabled(false);
}

void Monkey::WatchStates() {
    Main* app = Main::getSingleton();
    if (!app)
        return;
    const IApplicationState* state = app->CurrentState();
    if (state == m_state && app->StackSize() == m_stackSize)
        return;
    ++m_changes;
    if (app->StackSize() > m_stackSize && app->HasState("GameState", state))
        ++m_missions;
    m_state = state;
    m_stackSize = app->StackSize();
}

void Monkey::Act() {
    const uint32_t roll = below(100);
    if (roll < kClickWidgetShare)
        ClickWidget();
    else if (roll < kClickWidgetShare + kGameKeyShare)
        GameKey();
    else if (roll < kClickWidgetShare + kGameKeyShare + kResizeShare)
        Resize();
    else if (roll < kClickWidgetShare + kGameKeyShare + kResizeShare + kAnyKeyShare)
        AnyKey();
    else if (MyGUI::RenderManager* render = MyGUI::RenderManager::getInstancePtr())
        ClickAt(static_cast<int>(below(static_cast<uint32_t>(render->getViewSize().width))),
                static_cast<int>(below(static_cast<uint32_t>(render->getViewSize().height))));
}

void Monkey::ClickWidget() {
    const std::vector<MyGUI::Widget*> targets = ui::ClickTargets::Collect(kExcludedWidgets);
    if (targets.empty())
        return;
    int x = 0, y = 0;
    ui::ClickTargets::Centre(*targets[below(static_cast<uint32_t>(targets.size()))], x, y);
    ClickAt(x, y);
}

void Monkey::ClickAt(int x, int y) {
    if (m_mouseUpIn >= 0)
        return; // the button is still down
    m_mouseX = x;
    m_mouseY = y;
    queue(new event::MouseEvent(event::MouseEvent::MOUSE_MOVED, event::MouseEvent::MOUSE_BUTTON_NONE, at(x, y)));
    queue(new event::MouseEvent(event::MouseEvent::MOUSE_PRESSED, event::MouseEvent::MOUSE_BUTTON_LEFT, at(x, y)));
    m_events += 2;
    m_mouseUpIn = static_cast<int>(below(3));
}

void Monkey::GameKey() {
    const size_t count = sizeof kGameKeys / sizeof kGameKeys[0];
    const size_t index = below(static_cast<uint32_t>(count));
    const OIS::KeyCode key = kGameKeys[index];
    for (const Hold& hold : m_holds)
        if (hold.key == key)
            return;
    // Driving keys are held for up to three seconds, the others tapped, now and then in a burst.
    const int passes = index < kDrivingKeys ? 5 + static_cast<int>(below(180)) : 1 + static_cast<int>(below(3));
    Press(key);
    m_holds.push_back(Hold{key, passes});
}

void Monkey::AnyKey() {
    const OIS::KeyCode key = static_cast<OIS::KeyCode>(1 + below(kLastKeyCode));
    for (const Hold& hold : m_holds)
        if (hold.key == key)
            return;
    Press(key);
    m_holds.push_back(Hold{key, 1});
}

void Monkey::Resize() {
    display::Core* display = display::Core::getSingleton();
    Ogre::RenderWindow* window = display ? display->getRenderWindow() : nullptr;
    if (!window)
        return;
    const size_t count = sizeof kWindowSizes / sizeof kWindowSizes[0];
    const int* size = kWindowSizes[below(static_cast<uint32_t>(count))];
    window->resize(static_cast<unsigned int>(size[0]), static_cast<unsigned int>(size[1]));
    ++m_events;
}

void Monkey::StartCopilot() {
    ReleaseHeld();
    m_copilot.reset(new game::Autopilot());
    m_copilotLeft = kCopilotMinSeconds + (kCopilotMaxSeconds - kCopilotMinSeconds) * below(1000) / 1000.0;
}

void Monkey::StopCopilot() {
    m_copilot.reset();
    // The autopilot may leave keys down; a player lets go of them.
    for (OIS::KeyCode key : {OIS::KC_UP, OIS::KC_DOWN, OIS::KC_LEFT, OIS::KC_RIGHT, OIS::KC_SPACE})
        Release(key);
}

void Monkey::Press(OIS::KeyCode key) {
    queue(new event::KeyEvent(event::KeyEvent::KEY_PRESSED, key));
    ++m_events;
}

void Monkey::Release(OIS::KeyCode key) {
    queue(new event::KeyEvent(event::KeyEvent::KEY_RELEASED, key));
    ++m_events;
}

void Monkey::ReleaseHeld() {
    for (const Hold& hold : m_holds)
        Release(hold.key);
    m_holds.clear();
}

} // namespace application
