#pragma once

#include "base/Export.h"
#include "base/Singleton.h"

#include <string>
#include <vector>

namespace input {

// What the player's keys and pad buttons mean: named actions, each bound to
// one key (an OIS key code) and one pad control (an SDL game-controller name:
// "a", "start", "righttrigger", "leftx-"). Stored in the settings store,
// section "Controls", one entry per action ("accelerate" = "Up,righttrigger"),
// written whenever a binding changes. A clash swaps: the action that had the
// key gets the other action's old key.
class DW_API Bindings : public base::Singleton<Bindings> {
public:
    // The driving actions the engine's vehicle reads; a game adds its own.
    static const int kAccelerate;
    static const int kBrake;
    static const int kSteerLeft;
    static const int kSteerRight;

    struct Binding {
        std::string name;
        int defaultKey;
        std::string defaultPad;
        int key;
        std::string pad;
    };

    Bindings();
    virtual ~Bindings();

    // Adds an action (or returns the one of that name) and reads its stored
    // binding; a bad stored entry falls back to the defaults with one line on stderr.
    int Add(const std::string& name, int defaultKey, const std::string& defaultPad);
    // The action's id, -1 for a name never added.
    int Find(const std::string& name) const;

    // Whether the key is the one bound to the action. Without a Bindings
    // instance the given default answers, so engine parts work on their own.
    static bool Is(int action, int keyCode, int defaultKey);
    // The action bound to a key or pad control, -1 for none.
    int ActionForKey(int keyCode) const;
    int ActionForPad(const std::string& pad) const;

    int KeyOf(int action) const;
    const std::string& PadOf(int action) const;
    void SetKey(int action, int keyCode);
    void SetPad(int action, const std::string& pad);
    void RestoreDefaults();

    const std::vector<Binding>& bindings() const { return m_bindings; }

    // Key names as stored and shown ("Up", "W", "Space"); "" for a key without one.
    static std::string KeyName(int keyCode);
    // The key code of a name, 0 for an unknown name.
    static int KeyCode(const std::string& name);
    static bool IsPadName(const std::string& pad);

private:
    void Load(Binding& binding);
    void Store(const Binding& binding);

    std::vector<Binding> m_bindings;
};

} // namespace input

DW_SINGLETON_DECLARE(input::Bindings)
