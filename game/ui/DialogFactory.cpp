#include "ui/DialogFactory.h"

#include "ui/MainMenu.h"

#include <base/StringHash.h>

namespace ui {

// Checked in this order: main menu, mini-game panels (pump, baggage, repair),
// achievements, HUD perfection bar, mission end, options, loading notice,
// mission selection. Dialogs are added here as they come into the game;
// the HUD parts and dialogs that their owners construct directly are not made here.
Dialog* DialogFactory::CreateDialog(const base::StringHash& type) {
    if (type.hash() == MainMenu::kDialogType.hash())
        return new MainMenu();
    return nullptr;
}

} // namespace ui
