#pragma once

#include "base/Export.h"

namespace base {
class StringHash;
}

namespace ui {

class Dialog;

// Builds the game's dialogs by type for the UI manager.
class DW_API IDialogFactory {
public:
    virtual ~IDialogFactory() = default;

    // The new dialog shows and registers itself; none for a type the factory does not know.
    virtual Dialog* CreateDialog(const base::StringHash& type) = 0;
};

} // namespace ui
