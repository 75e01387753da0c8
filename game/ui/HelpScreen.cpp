#include "ui/HelpScreen.h"

namespace ui {

const base::StringHash HelpScreen::kDialogType("HelpScreen");

HelpScreen::HelpScreen() : NoticeDialog("HelpScreen", "ingame_help.layout", "btn_ig_back", TOP) {
    showWindow();
}

HelpScreen::~HelpScreen() = default;

} // namespace ui
