#include "ui/DialogFactory.h"

#include "minigames/BaggagePanel.h"
#include "minigames/PumpPanel.h"
#include "minigames/RepairPanel.h"
#include "ui/AchievementWindow.h"
#include "ui/HUDPerfection.h"
#include "ui/LoadingPanel.h"
#include "ui/MainMenu.h"
#include "ui/MissionEnd.h"
#include "ui/MissionSelectWindow.h"
#include "ui/OptionsWindow.h"

#include <base/StringHash.h>

namespace ui {

// Checked in this order: main menu, mini-game panels (pump, baggage, repair),
// achievements, HUD perfection bar, mission end, options, loading notice,
// mission selection. Dialogs are added here as they come into the game;
// the HUD parts and dialogs that their owners construct directly are not made here.
Dialog* DialogFactory::CreateDialog(const base::StringHash& type) {
    if (type.hash() == MainMenu::kDialogType.hash())
        return new MainMenu();
    if (type.hash() == PumpPanel::kDialogType.hash())
        return new PumpPanel();
    if (type.hash() == BaggagePanel::kDialogType.hash())
        return new BaggagePanel();
    if (type.hash() == RepairPanel::kDialogType.hash())
        return new RepairPanel();
    if (type.hash() == AchievementWindow::kDialogType.hash())
        return new AchievementWindow();
    if (type.hash() == HUDPerfection::kDialogType.hash())
        return new HUDPerfection();
    if (type.hash() == MissionEnd::kDialogType.hash())
        return new MissionEnd();
    if (type.hash() == OptionsWindow::kDialogType.hash())
        return new OptionsWindow();
    if (type.hash() == LoadingPanel::kDialogType.hash())
        return new LoadingPanel();
    if (type.hash() == MissionSelectWindow::kDialogType.hash())
        return new MissionSelectWindow();
    return nullptr;
}

} // namespace ui
