#include "ui/MissionEnd.h"

#include "event/MissionEndedEvent.h"
#include "game/MissionData.h"
#include "game/GameCore.h"
#include "game/Statistics.h"
#include "replay/ReplayStore.h"

#include <base/UserData.h>
#include <event/ApplicationStateEvent.h>
#include <event/DialogEvent.h>
#include <event/Manager.h>
#include <ui/FocusNavigator.h>
#include <ui/Manager.h>

#include <MyGUI.h>

#include <iostream>
#include <unistd.h>

namespace ui {

const base::StringHash MissionEnd::kDialogType("MissionEnd");

namespace {
const char* const kLayout = "missionsuccess_panel.layout";
const base::StringHash kMissionSelectWindow("MissionSelectWindow");
// Continue pops back to the main menu by name: however often it arrives,
// that pop can never take the main menu itself off the stack.
const char* const kMenuState = "MainMenu";
} // namespace

MissionEnd::MissionEnd() : Dialog("Modal", "MissionEnd", "MissionEnd", TOP) {
    if (auto* events = event::Manager::getSingleton())
        m_listening = events->AddListener(*this, event::MissionEndedEvent::kEventType);
    LoadLayout(kLayout);
    Resize();
    if (auto* next = require<MyGUI::Button>("btn_success_continue"))
        next->eventMouseButtonClick += MyGUI::newDelegate(this, &MissionEnd::notifyContinue);
    if (auto* watch = require<MyGUI::Button>("btn_success_watch")) {
        watch->eventMouseButtonClick += MyGUI::newDelegate(this, &MissionEnd::notifyWatch);
        watch->setEnabled(false);
        m_watch = watch;
    }
    m_scoreOld = require<MyGUI::TextBox>("score_old");
    m_scoreNew = require<MyGUI::TextBox>("score_new");

    // Read before the statistics see the mission-ended event, which is queued
    // after this window opens: this is still the previous best.
    const int mission = CurrentMission();
    if (mission < 0) {
        std::cerr << "MissionEnd: no mission is running, there is no previous best to show" << std::endl;
    } else if (auto* data = base::UserData::getSingleton()) {
        SetText(m_scoreOld, data->GetString(base::Statistics::MissionSection(mission), "highscore", ""));
    }

    if (auto* manager = Manager::getSingleton())
        manager->EnableMousePointer(true);
    ListFocus();
    showWindow();
}

void MissionEnd::ListFocus() {
    FocusNavigator& focus = Navigation();
    MyGUI::Widget* next = m_window->findWidget("btn_success_continue");
    focus.Add(next);
    focus.Add(m_watch);
    focus.SetBack(next);
}

MissionEnd::~MissionEnd() {
    if (m_listening) {
        if (auto* events = event::Manager::getSingleton())
            events->RemoveListener(*this, event::MissionEndedEvent::kEventType);
    }
}

int MissionEnd::CurrentMission() {
    const game::MissionData* mission = game::MissionData::getSingleton();
    return mission ? mission->mission_number() : -1;
}

void MissionEnd::Resize() {
    CentreOnScreen();
}

bool MissionEnd::HandleEvent(const event::IEvent& event) {
    if (event.event_type() != event::MissionEndedEvent::kEventType)
        return false;
    const auto& ended = static_cast<const event::MissionEndedEvent&>(event);
    SetText(m_scoreNew, std::to_string(ended.score()));
    // The game state has kept the run by now (it hears the event first).
    const game::GameCore* core = game::GameCore::getSingleton();
    if (m_watch && core)
        m_watch->setEnabled(::access(game::ReplayStore::LastPath(ended.mission(), core->vehicle_variant()).c_str(),
                                     R_OK) == 0);
    return false;
}

void MissionEnd::notifyContinue(MyGUI::Widget*) {
    // Clicks during the slide-out are dropped, so one Continue changes one state.
    if (!AcceptsInput())
        return;
    if (auto* events = event::Manager::getSingleton())
        events->QueueEvent(new event::DialogEvent(kMissionSelectWindow));
    RequestState(event::ApplicationStateEvent::POP_STATE, kMenuState);
    exitWindow();
}

void MissionEnd::notifyWatch(MyGUI::Widget*) {
    game::GameCore* core = game::GameCore::getSingleton();
    if (!AcceptsInput() || !core)
        return;
    const int mission = CurrentMission();
    core->set_mission_number(mission);
    core->set_replay_file(game::ReplayStore::LastPath(mission, core->vehicle_variant()));
    // Out of the run and straight back in, watching it.
    if (!RequestState(event::ApplicationStateEvent::POP_STATE, kMenuState))
        return;
    if (auto* events = event::Manager::getSingleton())
        events->QueueEvent(new event::ApplicationStateEvent(event::ApplicationStateEvent::PUSH_STATE, "GameState"));
    exitWindow();
}

} // namespace ui
