#include "ui/DialogFactory.h"

#include "minigames/BaggagePanel.h"
#include "minigames/PumpPanel.h"
#include "minigames/RepairPanel.h"
#include "ui/HUDPerfection.h"
#include "ui/LoadingPanel.h"
#include "ui/MainMenu.h"
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
    if (type.hash() == HUDPerfection::kDialogType.hash())
        return new HUDPerfection();
    if (type.hash() == OptionsWindow::kDialogType.hash())
        return new OptionsWindow();
    if (type.hash() == LoadingPanel::kDialogType.hash())
        return new LoadingPanel();
    return nullptr;
}

} // namespace ui
