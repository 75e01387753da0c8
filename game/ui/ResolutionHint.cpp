#include "ui/ResolutionHint.h"

namespace ui {

const base::StringHash ResolutionHint::kDialogType("ResolutionHint");

ResolutionHint::ResolutionHint() : NoticeDialog("ResolutionHint", "switchhint_panel.layout", "btn_switchhint", TOP) {
    showWindow();
}

ResolutionHint::~ResolutionHint() = default;

} // namespace ui
