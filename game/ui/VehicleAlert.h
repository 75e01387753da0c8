#pragma once

#include "ui/NoticeDialog.h"

namespace ui {

// Shown once when the upgraded vehicles become available.
class VehicleAlert : public NoticeDialog {
public:
    static const base::StringHash kDialogType;

    VehicleAlert();
    virtual ~VehicleAlert();

    const base::StringHash& GetType() const override { return kDialogType; }
};

} // namespace ui
