#include "game/GameControls.h"

#include <input/Bindings.h>

#include <OISKeyboard.h>

namespace game {

int GameControls::kConfirm = -1;
int GameControls::kSwitchVehicle = -1;
int GameControls::kResetVehicle = -1;
int GameControls::kMenu = -1;
int GameControls::kCameraNext = -1;
int GameControls::kCameraMain = -1;
int GameControls::kCameraHood = -1;
int GameControls::kCameraWheel = -1;
int GameControls::kCameraSide = -1;

void GameControls::Register() {
    input::Bindings* bindings = input::Bindings::getSingleton();
    if (!bindings)
        return;
    kConfirm = bindings->Add("confirm", OIS::KC_SPACE, "a");
    kSwitchVehicle = bindings->Add("switch_vehicle", OIS::KC_V, "x");
    kResetVehicle = bindings->Add("reset_vehicle", OIS::KC_R, "y");
    kMenu = bindings->Add("menu", OIS::KC_ESCAPE, "start");
    kCameraNext = bindings->Add("camera_next", OIS::KC_C, "rightshoulder");
    kCameraMain = bindings->Add("camera_main", OIS::KC_1, "leftshoulder");
    kCameraHood = bindings->Add("camera_hood", OIS::KC_2, "dpup");
    kCameraWheel = bindings->Add("camera_wheel", OIS::KC_3, "dpleft");
    kCameraSide = bindings->Add("camera_side", OIS::KC_4, "dpright");
}

bool GameControls::Is(int action, int keyCode, int defaultKey) {
    return input::Bindings::Is(action, keyCode, defaultKey);
}

int GameControls::MiniGameKey(int keyCode) {
    const input::Bindings* bindings = input::Bindings::getSingleton();
    if (!bindings)
        return keyCode;
    const int action = bindings->ActionForKey(keyCode);
    const bool played = action == input::Bindings::kAccelerate || action == input::Bindings::kBrake ||
                        action == input::Bindings::kSteerLeft || action == input::Bindings::kSteerRight ||
                        (action >= 0 && action == kConfirm);
    return played ? bindings->bindings()[action].defaultKey : keyCode;
}

} // namespace game
