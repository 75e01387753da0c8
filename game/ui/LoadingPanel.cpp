#include "ui/LoadingPanel.h"

namespace ui {

const base::StringHash LoadingPanel::kDialogType("LoadingPanel");

LoadingPanel::LoadingPanel() : NoticeDialog("LoadingPanel", "loading_alert.layout", "", NONE) {
    showWindow();
}

LoadingPanel::~LoadingPanel() = default;

} // namespace ui
