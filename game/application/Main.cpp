#include "application/Main.h"

#include "application/IApplicationState.h"
#include "game/GameControls.h"
#include "game/Statistics.h"

#include <ui/DialogFactory.h>

#include <base/Config.h>
#include <base/StartupTrace.h>
#include <base/UserData.h>
#include <display/Core.h>
#include <event/ApplicationStateEvent.h>
#include <event/Manager.h>
#include <file/System.h>
#include <input/Bindings.h>
#include <input/Handler.h>
#include <ui/GuiClock.h>
#include <ui/Manager.h>

#include <OGRE/OgreRenderWindow.h>
#include <OGRE/OgreTimer.h>

#include <cstdint>

namespace application {

Main::Main() = default;

Main::~Main() {
    // States still on the stack leave while every service is alive.
    while (!m_stateStack.empty()) {
        m_stateStack.back()->Exit();
        m_stateStack.pop_back();
    }
    for (auto it = m_states.begin(); it != m_states.end();) {
        it->second->Destroy();
        it = m_states.erase(it);
    }
    if (m_events)
        m_events->RemoveListener(*this, event::ApplicationStateEvent::kEventType);

    delete m_input;
    m_bindings.reset();
    // The GUI releases its render resources while the rendering engine still exists.
    delete m_ui;
    delete m_display;
    delete m_userData;
    m_statistics.reset();
    delete m_config;
    delete m_events;
    OGRE_DELETE m_timer;
}

bool Main::Init() {
    file::System::set_product_name("kestrelby");
    m_config = new base::Config();
    m_userData = new base::UserData();
    m_events = new event::Manager();
    m_statistics = std::make_unique<base::Statistics>();
    m_display = new display::Core();
    m_input = new input::Handler();
    m_bindings = std::make_unique<input::Bindings>();
    game::GameControls::Register();
    m_ui = new ui::Manager();
    m_timer = OGRE_NEW Ogre::Timer();
    base::StartupTrace::Mark("settings, user data and statistics read");

    if (!m_display->Init()) {
        m_failure = "the render window could not be opened (see kb_o.log)";
        return false;
    }
    if (!m_input->init(m_display->window_handle())) {
        m_failure = "keyboard and mouse could not be attached to the window";
        return false;
    }
    Ogre::RenderWindow* window = m_display->getRenderWindow();
    m_input->SetWindowSize(window->getWidth(), window->getHeight());
    base::StartupTrace::Mark("keyboard and mouse attached");

    if (!SetupResources())
        return false;
    m_display->InitResourceGroup("General");
    m_display->ActivateRenderWindow(true);
    base::StartupTrace::Mark("ui.pip indexed, music and sound folders listed");

    if (!m_ui->init(window, m_display->getSceneManager(), new ui::DialogFactory(), "MyGUI_Core.xml")) {
        m_failure = "the user interface could not start (see kb_gui.log)";
        return false;
    }
    m_ui->AddLanguage("Deutsch");
    m_ui->AddLanguage("English");
    base::StartupTrace::Mark("GUI core file: skins, fonts, layers, languages, tooltip");

    m_events->AddListener(*this, event::ApplicationStateEvent::kEventType);
    return true;
}

bool Main::SetupResources() {
    m_display->AddResourceGroup("UI");
    m_display->AddResourceZip("../assets/ui.pip", "UI");
    m_display->AddResourceFolder("../assets/music", "General");
    m_display->AddResourceFolder("../assets/sfx", "General");
    return true;
}

void Main::Run() {
    m_running = 1;
    m_timer->reset();
    m_throttle.Reset();
    // One clock reading per pass, timed as the difference to the previous one:
    // reading and then resetting the timer would drop the time in between,
    // which is a large share of a pass that takes a few microseconds.
    unsigned long last = m_timer->getMicroseconds();
    while (m_running == 1) {
        const unsigned long now = m_timer->getMicroseconds();
        const double dt = static_cast<double>(static_cast<uint32_t>(now - last));
        last = now;
        RunIteration(m_fixedStep > 0.0 ? m_fixedStep : dt);
    }
}

void Main::SetFixedStep(double microseconds, unsigned int drawEvery) {
    m_fixedStep = microseconds > 0.0 ? microseconds : 0.0;
    // The windows age with the game's passes, not with the wall clock.
    ui::GuiClock::SetDriven(m_fixedStep > 0.0);
    m_drawEvery = drawEvery > 0 ? drawEvery : 1;
    m_passes = 0;
}

void Main::RunIteration(double microseconds) {
    m_input->Capture();
    m_events->Tick();

    double drawSeconds = 0.0;
    const bool draw = m_fixedStep > 0.0 ? (m_passes++ % m_drawEvery == 0)
                                        : m_throttle.Advance(microseconds, m_ui->IsDirty(), drawSeconds);
    if (m_fixedStep > 0.0)
        drawSeconds = m_fixedStep * m_drawEvery * 0.000001;
    if (draw) {
        ++m_framesDrawn;
        m_display->OnDraw(drawSeconds);
        if (m_display->IsWindowClosed()) {
            // Closing the window ends the game like the exit button does (the core reports it).
            m_running = 2;
            return;
        }
    }

    const double seconds = microseconds * 0.000001;
    m_ui->Update(seconds);
    if (!m_stateStack.empty())
        m_stateStack.back()->Update(seconds);
    if (m_passObserver)
        m_passObserver(seconds);
}

void Main::AddState(const std::string& name, IApplicationState* state) {
    if (!state || !state->Init())
        return;
    m_states.emplace(name, state);
}

void Main::ChangeState(const std::string& name) {
    auto it = m_states.find(name);
    if (it == m_states.end())
        return;
    if (!m_stateStack.empty()) {
        m_stateStack.back()->Exit();
        m_stateStack.pop_back();
    }
    m_stateStack.push_back(it->second);
    it->second->Enter();
}

bool Main::PushState(const std::string& name) {
    auto it = m_states.find(name);
    if (it == m_states.end())
        return false;
    if (!m_stateStack.empty() && !m_stateStack.back()->Pause())
        return false;
    m_stateStack.push_back(it->second);
    it->second->Enter();
    return true;
}

void Main::PopState() {
    if (m_stateStack.empty())
        return;
    m_stateStack.back()->Exit();
    m_stateStack.pop_back();
    if (!m_stateStack.empty())
        m_stateStack.back()->Resume();
    else
        m_running = 2;
}

bool Main::HandleEvent(const event::IEvent& event) {
    if (event.event_type() != event::ApplicationStateEvent::kEventType)
        return false;
    const auto& request = static_cast<const event::ApplicationStateEvent&>(event);
    switch (request.type()) {
    case event::ApplicationStateEvent::PUSH_STATE:
        PushState(request.state());
        return false;
    case event::ApplicationStateEvent::POP_STATE:
        if (request.state().empty()) {
            PopState();
        } else {
            auto it = m_states.find(request.state());
            if (it != m_states.end()) {
                while (!m_stateStack.empty() && m_stateStack.back() != it->second)
                    PopState();
            }
        }
        return true;
    }
    return false;
}

} // namespace application
