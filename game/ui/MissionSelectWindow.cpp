#include "ui/MissionSelectWindow.h"

#include "game/GameCore.h"
#include "replay/ReplayStore.h"
#include "game/Statistics.h"
#include "ui/LoadingPanel.h"
#include "ui/RenderBoxScene.h"
#include "ui/VehicleAlert.h"

#include <base/UserData.h>
#include <event/ApplicationStateEvent.h>
#include <ui/FocusNavigator.h>
#include <ui/Manager.h>

#include <MyGUI.h>
#include <OGRE/OgreResourceGroupManager.h>
#include <tinyxml.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>

namespace ui {

const base::StringHash MissionSelectWindow::kDialogType("MissionSelectWindow");
const int MissionSelectWindow::kMissionCount = 25;

namespace {
const char* const kLayout = "missionselect_panel.layout";
const char* const kEntryLayout = "missionselect_template.layout";
const char* const kMissionDirectory = "../assets/level/mission/mission";
const char* const kGameState = "GameState";
const base::StringHash kLoadingPanel("LoadingPanel");

const char* const kNormalVariant = "normal";
const char* const kUpgradedVariant = "upgraded";
const char* const kVehicleSection = "vehicles";
// Spelled so in every user file written so far.
const char* const kAnnouncedKey = "alterted";

// The first entry sits this far below the top of the list.
const int kListTop = 2;

// Preview model family of each vehicle a mission file may name.
struct VehicleModel {
    const char* vehicle;
    const char* meshPrefix;
};
const VehicleModel kVehicleModels[] = {
    {"FuelTruck", "mini_fuel_"},
    {"CateringTruck", "mini_cat_"},
    {"BaggageCart", "mini_bag_"},
};

bool resourceExists(const std::string& name) {
    auto* resources = Ogre::ResourceGroupManager::getSingletonPtr();
    return resources && resources->resourceExistsInAnyGroup(name);
}

int storedProgress() {
    auto* data = base::UserData::getSingleton();
    return data ? data->GetInt("mission", "progress", 1) : 1;
}
} // namespace

MissionSelectWindow::MissionSelectWindow()
    : Dialog("Modal", "MissionSelectWindow", "MissionSelectWindow", TOP) {
    m_vehicleVariants.push_back(kNormalVariant);
    auto* data = base::UserData::getSingleton();
    if (data && data->GetBool(kVehicleSection, "upgraded", false)) {
        m_vehicleVariants.push_back(kUpgradedVariant);
        if (!data->GetBool(kVehicleSection, kAnnouncedKey, false)) {
            data->SetBool(kVehicleSection, kAnnouncedKey, true);
            new VehicleAlert();
        }
    }
    m_variantIndex = 0;

    LoadLayout(kLayout);
    Resize();
    if (auto* back = require<MyGUI::Button>("btn_back_main"))
        back->eventMouseButtonClick += MyGUI::newDelegate(this, &MissionSelectWindow::notifyBack);
    m_start = require<MyGUI::Button>("btn_start_mission");
    if (m_start)
        m_start->eventMouseButtonClick += MyGUI::newDelegate(this, &MissionSelectWindow::notifyStart);

    m_watchBest = require<MyGUI::Button>("btn_watch_best");
    if (m_watchBest) {
        m_watchBest->eventMouseButtonClick += MyGUI::newDelegate(this, &MissionSelectWindow::notifyWatchBest);
        m_watchBest->setEnabled(false);
    }

    AddMissions();
    CreatePreview();
    if (m_start)
        m_start->setEnabled(false);

    m_vehicleLeft = require<MyGUI::Button>("btn_vehicle_left");
    if (m_vehicleLeft)
        m_vehicleLeft->eventMouseButtonClick += MyGUI::newDelegate(this, &MissionSelectWindow::notifyVehicleLeft);
    m_vehicleRight = require<MyGUI::Button>("btn_vehicle_right");
    if (m_vehicleRight)
        m_vehicleRight->eventMouseButtonClick += MyGUI::newDelegate(this, &MissionSelectWindow::notifyVehicleRight);
    ShowVariantName();
    ListFocus();
    showWindow();
}

void MissionSelectWindow::ListFocus() {
    FocusNavigator& focus = Navigation();
    const int highest = std::clamp(storedProgress(), 1, kMissionCount);
    for (int i = 1; i <= kMissionCount; ++i) {
        MyGUI::Widget* button = m_window->findWidget(EntryPrefix(i) + "btn_mission");
        focus.Add(button);
        // Choosing a mission leads on to its Start button.
        focus.SetPressFocus(button, m_start);
        if (i == highest)
            focus.SetInitialFocus(button);
    }
    focus.AddChoice(m_window->findWidget("txt_vehicle_name"), m_vehicleLeft, m_vehicleRight);
    focus.Add(m_start);
    focus.Add(m_watchBest);
    MyGUI::Widget* back = m_window->findWidget("btn_back_main");
    focus.Add(back);
    focus.SetBack(back);
}

MissionSelectWindow::~MissionSelectWindow() {
    ReleaseAll();
}

std::string MissionSelectWindow::EntryPrefix(int mission) {
    return base::Statistics::MissionSection(mission) + "/";
}

void MissionSelectWindow::AddMissions() {
    m_missionList = require<MyGUI::ScrollView>("mission_list");
    if (!m_missionList)
        return;
    const int progress = storedProgress();
    int y = kListTop;
    for (int i = 1; i <= kMissionCount; ++i) {
        const std::string prefix = EntryPrefix(i);
        const std::string mission = base::Statistics::MissionSection(i);
        const MyGUI::VectorWidgetPtr loaded =
            MyGUI::LayoutManager::getInstance().loadLayout(kEntryLayout, prefix, m_missionList);
        if (!loaded.empty()) {
            MyGUI::Widget* entry = loaded.front();
            entry->setPosition(entry->getLeft(), y);
            y += entry->getHeight();
        }
        if (auto* button = require<MyGUI::Button>(prefix + "btn_mission")) {
            // A long name takes a second line beside its picture rather than being cut.
            if (MyGUI::ISubWidgetText* text = button->getSubWidgetText())
                text->setWordWrap(true);
            button->setCaptionWithReplacing("#{" + mission + "_name}");
            button->setUserString("mission", std::to_string(i));
            button->eventMouseButtonClick += MyGUI::newDelegate(this, &MissionSelectWindow::notifyMission);
            button->setEnabled(i <= progress);
        }
        if (auto* image = require<MyGUI::ImageBox>(prefix + "img_mission_image"))
            image->setImageTexture(mission + "_thumbnail.png");
    }
    m_missionList->setCanvasSize(m_missionList->getWidth(), y);
}

void MissionSelectWindow::CreatePreview() {
    m_vehicleCanvas = require<MyGUI::Canvas>("canvas_vehicle_select");
    if (!m_vehicleCanvas)
        return;
    m_vehiclePreview = std::make_unique<RenderBoxScene>();
    m_vehiclePreview->BindCanvas(m_vehicleCanvas);
    m_vehiclePreview->set_auto_turn(true);
    m_vehiclePreview->SetFrameUpdates(true);
}

void MissionSelectWindow::Resize() {
    CentreOnScreen();
}

void MissionSelectWindow::OnClose() {
    // The preview draws into a widget of this window: let go of it before
    // the window's widgets are destroyed.
    ReleaseAll();
}

void MissionSelectWindow::ReleaseAll() {
    if (m_loadingPanel) {
        Dialog* panel = m_loadingPanel;
        m_loadingPanel = nullptr;
        // Only a panel still registered is alive; one closed elsewhere is gone.
        Manager* manager = Manager::getSingleton();
        if (manager && manager->GetDialog(kLoadingPanel) == panel)
            panel->exitWindow();
    }
    if (m_vehiclePreview) {
        m_vehiclePreview->set_auto_turn(false);
        m_vehiclePreview->SetFrameUpdates(false);
        m_vehiclePreview->Release();
        m_vehiclePreview.reset();
    }
}

void MissionSelectWindow::ShowMission() {
    const int mission = m_selectedMission;
    const std::string section = base::Statistics::MissionSection(mission);
    if (auto* description = require<MyGUI::EditBox>("txt_mission_desc")) {
        description->setCaptionWithReplacing("#{" + section + "}");
        description->setVScrollPosition(0);
    }
    if (auto* map = require<MyGUI::ImageBox>("img_mission_map")) {
        const std::string texture = section + "_map.png";
        if (resourceExists(texture))
            map->setImageTexture(texture);
        else
            std::cerr << "MissionSelectWindow: no map " << texture << ", the map stays as it was" << std::endl;
    }
    if (m_start)
        m_start->setEnabled(mission <= storedProgress());
    if (auto* data = base::UserData::getSingleton()) {
        SetText(require<MyGUI::TextBox>("txt_score_box"), data->GetString(section, "highscore", ""));
        SetText(require<MyGUI::TextBox>("txt_timesplayed_box"), data->GetString(section, "count", ""));
    }
    ReadMissionVehicle();
    ShowVehicle();
    ShowWatchBest();
}

void MissionSelectWindow::ShowWatchBest() {
    if (m_watchBest)
        m_watchBest->setEnabled(m_selectedMission <= storedProgress() &&
                                game::ReplayStore::HasBest(m_selectedMission, m_vehicleVariants[m_variantIndex]));
}

void MissionSelectWindow::notifyWatchBest(MyGUI::Widget*) {
    if (!AcceptsInput() || !m_watchBest || !m_watchBest->getEnabled())
        return;
    if (auto* core = game::GameCore::getSingleton()) {
        core->set_mission_number(m_selectedMission);
        core->set_vehicle_variant(m_vehicleVariants[m_variantIndex]);
        core->set_replay_file(game::ReplayStore::BestPath(m_selectedMission, m_vehicleVariants[m_variantIndex]));
    }
    RequestState(event::ApplicationStateEvent::PUSH_STATE, kGameState);
    exitWindow();
}

void MissionSelectWindow::ReadMissionVehicle() {
    const std::string path = kMissionDirectory + std::to_string(m_selectedMission) + ".xml";
    // Read only, never through the document's own loading, which writes a
    // blank file in place of a missing one. The zero bytes behind the text
    // keep the parser inside the buffer when a file ends mid-character.
    std::ifstream in(path, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    text.append(8, '\0');
    TiXmlDocument document(path);
    const TiXmlElement* root = in ? (document.Parse(text.c_str()), document.RootElement()) : nullptr;
    if (!root || document.Error()) {
        std::cerr << "MissionSelectWindow: can't read " << path << ", the preview keeps its vehicle" << std::endl;
        return;
    }
    const TiXmlElement* spawn = root->FirstChildElement("spawn");
    const char* vehicle = spawn ? spawn->Attribute("vehicle") : nullptr;
    for (const VehicleModel& model : kVehicleModels) {
        if (vehicle && std::string(vehicle) == model.vehicle)
            m_meshPrefix = model.meshPrefix;
    }
}

void MissionSelectWindow::ShowVehicle() {
    if (!m_vehiclePreview)
        return;
    m_vehiclePreview->ClearScene();
    m_previewMesh.clear();
    const std::string mesh = m_meshPrefix + (m_variantIndex == 0 ? "A" : "B") + ".mesh";
    // A model that cannot be loaded is reported by the box, which stays empty.
    if (m_vehiclePreview->ShowMesh(mesh, Ogre::Vector3::ZERO, Ogre::Quaternion::IDENTITY))
        m_previewMesh = mesh;
}

void MissionSelectWindow::ShowVariantName() {
    if (auto* name = require<MyGUI::TextBox>("txt_vehicle_name"))
        name->setCaptionWithReplacing("#{vehicle_" + m_vehicleVariants[m_variantIndex] + "}");
}

void MissionSelectWindow::notifyBack(MyGUI::Widget*) {
    if (AcceptsInput())
        exitWindow();
}

void MissionSelectWindow::notifyMission(MyGUI::Widget* sender) {
    if (!AcceptsInput() || !sender)
        return;
    m_selectedMission = std::atoi(sender->getUserString("mission").c_str());
    // The chosen entry keeps its checked look once the focus moves on to Start.
    for (int i = 1; i <= kMissionCount; ++i) {
        MyGUI::Widget* entry = m_window->findWidget(EntryPrefix(i) + "btn_mission");
        if (auto* button = entry ? entry->castType<MyGUI::Button>(false) : nullptr)
            button->setStateSelected(i == m_selectedMission);
    }
    ShowMission();
}

void MissionSelectWindow::notifyStart(MyGUI::Widget*) {
    // A second click during the slide-out must not start the mission twice.
    if (!AcceptsInput())
        return;
    Manager* manager = Manager::getSingleton();
    if (manager) {
        if (!manager->GetDialog(kLoadingPanel))
            manager->toggleDialog(kLoadingPanel);
        m_loadingPanel = manager->GetDialog(kLoadingPanel);
    }
    if (auto* core = game::GameCore::getSingleton()) {
        core->set_mission_number(m_selectedMission);
        core->set_vehicle_variant(m_vehicleVariants[m_variantIndex]);
    }
    RequestState(event::ApplicationStateEvent::PUSH_STATE, kGameState);
    exitWindow();
}

void MissionSelectWindow::notifyVehicleLeft(MyGUI::Widget*) {
    if (!AcceptsInput())
        return;
    m_variantIndex = (m_variantIndex == 0 ? m_vehicleVariants.size() : m_variantIndex) - 1;
    ShowVariantName();
    ShowVehicle();
    ShowWatchBest();
}

void MissionSelectWindow::notifyVehicleRight(MyGUI::Widget*) {
    if (!AcceptsInput())
        return;
    m_variantIndex = (m_variantIndex + 1) % m_vehicleVariants.size();
    ShowVariantName();
    ShowVehicle();
    ShowWatchBest();
}

} // namespace ui
