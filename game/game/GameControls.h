#pragma once

namespace game {

// The game's own actions on top of the engine's driving ones, registered
// with input::Bindings at start-up. Until then (and in tests without
// bindings) every id is -1 and the default keys answer.
class GameControls {
public:
    static int kConfirm;       // Space: confirm the parking at an aircraft, the mini-games' button
    static int kSwitchVehicle; // V
    static int kResetVehicle;  // R
    static int kMenu;          // Escape: the in-game menu
    static int kCameraNext;    // C
    static int kCameraMain;    // 1
    static int kCameraHood;    // 2
    static int kCameraWheel;   // 3
    static int kCameraSide;    // 4

    // Adds the actions to the bindings instance, if there is one.
    static void Register();
    // Whether the key is bound to the action (the default key without bindings).
    static bool Is(int action, int keyCode, int defaultKey);
    // The mini-games read the arrows and Space: a key bound to driving or
    // confirming reads as that action's default key, any other key as itself.
    static int MiniGameKey(int keyCode);
};

} // namespace game
