#pragma once

#include "ui/NoticeDialog.h"

namespace ui {

// The in-game help: keys and mini-games.
class HelpScreen : public NoticeDialog {
public:
    static const base::StringHash kDialogType;

    HelpScreen();
    virtual ~HelpScreen();

    const base::StringHash& GetType() const override { return kDialogType; }
};

} // namespace ui
