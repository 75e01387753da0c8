#pragma once

#include <ui/IDialogFactory.h>

namespace ui {

// Builds the game's dialogs that are opened by type through the UI manager.
class DialogFactory : public IDialogFactory {
public:
    DialogFactory() = default;
    virtual ~DialogFactory() = default;

    Dialog* CreateDialog(const base::StringHash& type) override;
};

} // namespace ui
