#include "ui/VehicleAlert.h"

namespace ui {

const base::StringHash VehicleAlert::kDialogType("VehicleAlert");

VehicleAlert::VehicleAlert() : NoticeDialog("VehicleAlert", "vehicle_alert.layout", "btn_ok", TOP) {
    showWindow();
}

VehicleAlert::~VehicleAlert() = default;

} // namespace ui
