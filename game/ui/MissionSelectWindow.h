#pragma once

#include <ui/Dialog.h>

#include <memory>
#include <string>
#include <vector>

namespace MyGUI {
class Button;
class Canvas;
class ScrollView;
class Widget;
}

namespace ui {

class RenderBoxScene;

// Where the player picks a mission and a vehicle variant and starts playing:
// the mission list, the chosen mission's briefing, map and records, and a
// turning preview of its vehicle.
class MissionSelectWindow : public Dialog {
public:
    static const base::StringHash kDialogType;
    static const int kMissionCount;

    MissionSelectWindow();
    virtual ~MissionSelectWindow();

    const base::StringHash& GetType() const override { return kDialogType; }
    void Resize() override;

    int selected_mission() const { return m_selectedMission; }
    const std::vector<std::string>& vehicle_variants() const { return m_vehicleVariants; }
    unsigned variant_index() const { return m_variantIndex; }
    const std::string& mesh_prefix() const { return m_meshPrefix; }
    RenderBoxScene* vehicle_preview() const { return m_vehiclePreview.get(); }
    // The preview model now shown, "" when none could be shown.
    const std::string& preview_mesh() const { return m_previewMesh; }

    // The list prefix of one mission entry ("mission3/").
    static std::string EntryPrefix(int mission);

protected:
    void OnClose() override;

private:
    void notifyBack(MyGUI::Widget* sender);
    void notifyMission(MyGUI::Widget* sender);
    void notifyStart(MyGUI::Widget* sender);
    // Watch best run: the stored best of the selected mission and variant.
    void notifyWatchBest(MyGUI::Widget* sender);
    // Enabled when the selected mission and variant have a best run.
    void ShowWatchBest();
    void notifyVehicleLeft(MyGUI::Widget* sender);
    void notifyVehicleRight(MyGUI::Widget* sender);

    void AddMissions();
    // The keyboard order: the missions, the vehicle variant, Start, Back.
    void ListFocus();
    void CreatePreview();
    void ShowMission();
    void ReadMissionVehicle();
    void ShowVehicle();
    void ShowVariantName();
    // Lets go of the preview and the loading notice; safe to run twice.
    void ReleaseAll();

    int m_selectedMission = 1;
    MyGUI::Canvas* m_vehicleCanvas = nullptr;
    std::unique_ptr<RenderBoxScene> m_vehiclePreview;
    Dialog* m_loadingPanel = nullptr;
    MyGUI::Button* m_vehicleLeft = nullptr;
    MyGUI::Button* m_vehicleRight = nullptr;
    std::vector<std::string> m_vehicleVariants;
    unsigned m_variantIndex = 0;
    std::string m_meshPrefix = "mini_fuel_";

    MyGUI::ScrollView* m_missionList = nullptr;
    MyGUI::Button* m_start = nullptr;
    MyGUI::Button* m_watchBest = nullptr;
    std::string m_previewMesh;
};

} // namespace ui
