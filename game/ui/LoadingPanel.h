#pragma once

#include "ui/NoticeDialog.h"

namespace ui {

// Shown while the game state loads; its owner closes it.
class LoadingPanel : public NoticeDialog {
public:
    static const base::StringHash kDialogType;

    LoadingPanel();
    virtual ~LoadingPanel();

    const base::StringHash& GetType() const override { return kDialogType; }
};

} // namespace ui
