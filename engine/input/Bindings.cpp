#include "input/Bindings.h"

#include "base/Config.h"

#include <OISKeyboard.h>

#include <algorithm>
#include <iostream>
#include <utility>

DW_SINGLETON_DEFINE(input::Bindings)

namespace input {

const int Bindings::kAccelerate = 0;
const int Bindings::kBrake = 1;
const int Bindings::kSteerLeft = 2;
const int Bindings::kSteerRight = 3;

namespace {
const char* const kSection = "Controls";
const char kSeparator = ',';

struct KeyNameEntry {
    int code;
    const char* name;
};
// The keys a player may bind, with the names stored in the settings.
const KeyNameEntry kKeyNames[] = {
    {OIS::KC_UP, "Up"}, {OIS::KC_DOWN, "Down"}, {OIS::KC_LEFT, "Left"}, {OIS::KC_RIGHT, "Right"},
    {OIS::KC_SPACE, "Space"}, {OIS::KC_RETURN, "Enter"}, {OIS::KC_ESCAPE, "Escape"}, {OIS::KC_TAB, "Tab"},
    {OIS::KC_BACK, "Backspace"}, {OIS::KC_LSHIFT, "Left Shift"}, {OIS::KC_RSHIFT, "Right Shift"},
    {OIS::KC_LCONTROL, "Left Ctrl"}, {OIS::KC_RCONTROL, "Right Ctrl"}, {OIS::KC_LMENU, "Left Alt"},
    {OIS::KC_RMENU, "Right Alt"}, {OIS::KC_INSERT, "Insert"}, {OIS::KC_DELETE, "Delete"}, {OIS::KC_HOME, "Home"},
    {OIS::KC_END, "End"}, {OIS::KC_PGUP, "Page Up"}, {OIS::KC_PGDOWN, "Page Down"},
    {OIS::KC_A, "A"}, {OIS::KC_B, "B"}, {OIS::KC_C, "C"}, {OIS::KC_D, "D"}, {OIS::KC_E, "E"}, {OIS::KC_F, "F"},
    {OIS::KC_G, "G"}, {OIS::KC_H, "H"}, {OIS::KC_I, "I"}, {OIS::KC_J, "J"}, {OIS::KC_K, "K"}, {OIS::KC_L, "L"},
    {OIS::KC_M, "M"}, {OIS::KC_N, "N"}, {OIS::KC_O, "O"}, {OIS::KC_P, "P"}, {OIS::KC_Q, "Q"}, {OIS::KC_R, "R"},
    {OIS::KC_S, "S"}, {OIS::KC_T, "T"}, {OIS::KC_U, "U"}, {OIS::KC_V, "V"}, {OIS::KC_W, "W"}, {OIS::KC_X, "X"},
    {OIS::KC_Y, "Y"}, {OIS::KC_Z, "Z"},
    {OIS::KC_1, "1"}, {OIS::KC_2, "2"}, {OIS::KC_3, "3"}, {OIS::KC_4, "4"}, {OIS::KC_5, "5"},
    {OIS::KC_6, "6"}, {OIS::KC_7, "7"}, {OIS::KC_8, "8"}, {OIS::KC_9, "9"}, {OIS::KC_0, "0"},
    {OIS::KC_F1, "F1"}, {OIS::KC_F2, "F2"}, {OIS::KC_F3, "F3"}, {OIS::KC_F4, "F4"}, {OIS::KC_F5, "F5"},
    {OIS::KC_F6, "F6"}, {OIS::KC_F7, "F7"}, {OIS::KC_F8, "F8"}, {OIS::KC_F9, "F9"}, {OIS::KC_F10, "F10"},
    {OIS::KC_F11, "F11"}, {OIS::KC_F12, "F12"},
    {OIS::KC_NUMPAD0, "Num 0"}, {OIS::KC_NUMPAD1, "Num 1"}, {OIS::KC_NUMPAD2, "Num 2"}, {OIS::KC_NUMPAD3, "Num 3"},
    {OIS::KC_NUMPAD4, "Num 4"}, {OIS::KC_NUMPAD5, "Num 5"}, {OIS::KC_NUMPAD6, "Num 6"}, {OIS::KC_NUMPAD7, "Num 7"},
    {OIS::KC_NUMPAD8, "Num 8"}, {OIS::KC_NUMPAD9, "Num 9"}, {OIS::KC_NUMPADENTER, "Num Enter"},
    {OIS::KC_COMMA, ","}, {OIS::KC_PERIOD, "."}, {OIS::KC_MINUS, "-"},
};

// SDL's game-controller names of buttons, triggers and stick halves.
const char* const kPadNames[] = {
    "a", "b", "x", "y", "back", "guide", "start", "leftstick", "rightstick", "leftshoulder", "rightshoulder",
    "dpup", "dpdown", "dpleft", "dpright", "lefttrigger", "righttrigger", "leftx-", "leftx+", "lefty-", "lefty+",
    "rightx-", "rightx+", "righty-", "righty+",
};

const std::string kNoPad;
} // namespace

Bindings::Bindings() {
    Add("accelerate", OIS::KC_UP, "righttrigger");
    Add("brake", OIS::KC_DOWN, "lefttrigger");
    Add("steer_left", OIS::KC_LEFT, "leftx-");
    Add("steer_right", OIS::KC_RIGHT, "leftx+");
}

Bindings::~Bindings() = default;

int Bindings::Add(const std::string& name, int defaultKey, const std::string& defaultPad) {
    const int existing = Find(name);
    if (existing >= 0)
        return existing;
    m_bindings.push_back(Binding{name, defaultKey, defaultPad, defaultKey, defaultPad});
    Load(m_bindings.back());
    return static_cast<int>(m_bindings.size()) - 1;
}

int Bindings::Find(const std::string& name) const {
    for (size_t i = 0; i < m_bindings.size(); ++i)
        if (m_bindings[i].name == name)
            return static_cast<int>(i);
    return -1;
}

void Bindings::Load(Binding& binding) {
    base::Config* config = base::Config::getSingleton();
    if (!config)
        return;
    const std::string fallback = KeyName(binding.defaultKey) + kSeparator + binding.defaultPad;
    const std::string stored = config->getString(kSection, binding.name, fallback);
    const size_t comma = stored.rfind(kSeparator);
    const int key = comma == std::string::npos ? 0 : KeyCode(stored.substr(0, comma));
    const std::string pad = comma == std::string::npos ? std::string() : stored.substr(comma + 1);
    if (key == 0 || !IsPadName(pad)) {
        std::cerr << "controls: \"" << stored << "\" is no binding for " << binding.name << ", using \"" << fallback
                  << "\"" << std::endl;
        binding.key = binding.defaultKey;
        binding.pad = binding.defaultPad;
        Store(binding);
        return;
    }
    binding.key = key;
    binding.pad = pad;
}

void Bindings::Store(const Binding& binding) {
    if (base::Config* config = base::Config::getSingleton())
        config->setString(kSection, binding.name, KeyName(binding.key) + kSeparator + binding.pad);
}

bool Bindings::Is(int action, int keyCode, int defaultKey) {
    const Bindings* bindings = getSingleton();
    if (!bindings || action < 0 || action >= static_cast<int>(bindings->m_bindings.size()))
        return keyCode == defaultKey;
    return bindings->m_bindings[action].key == keyCode;
}

int Bindings::ActionForKey(int keyCode) const {
    for (size_t i = 0; i < m_bindings.size(); ++i)
        if (m_bindings[i].key == keyCode)
            return static_cast<int>(i);
    return -1;
}

int Bindings::ActionForPad(const std::string& pad) const {
    for (size_t i = 0; i < m_bindings.size(); ++i)
        if (m_bindings[i].pad == pad)
            return static_cast<int>(i);
    return -1;
}

int Bindings::KeyOf(int action) const {
    return action >= 0 && action < static_cast<int>(m_bindings.size()) ? m_bindings[action].key : 0;
}

const std::string& Bindings::PadOf(int action) const {
    return action >= 0 && action < static_cast<int>(m_bindings.size()) ? m_bindings[action].pad : kNoPad;
}

void Bindings::SetKey(int action, int keyCode) {
    if (action < 0 || action >= static_cast<int>(m_bindings.size()) || KeyName(keyCode).empty())
        return;
    Binding& binding = m_bindings[action];
    const int other = ActionForKey(keyCode);
    if (other >= 0 && other != action) {
        m_bindings[other].key = binding.key;
        Store(m_bindings[other]);
    }
    binding.key = keyCode;
    Store(binding);
}

void Bindings::SetPad(int action, const std::string& pad) {
    if (action < 0 || action >= static_cast<int>(m_bindings.size()) || !IsPadName(pad))
        return;
    Binding& binding = m_bindings[action];
    const int other = ActionForPad(pad);
    if (other >= 0 && other != action) {
        m_bindings[other].pad = binding.pad;
        Store(m_bindings[other]);
    }
    binding.pad = pad;
    Store(binding);
}

void Bindings::RestoreDefaults() {
    for (Binding& binding : m_bindings) {
        binding.key = binding.defaultKey;
        binding.pad = binding.defaultPad;
        Store(binding);
    }
}

std::string Bindings::KeyName(int keyCode) {
    for (const KeyNameEntry& entry : kKeyNames)
        if (entry.code == keyCode)
            return entry.name;
    return std::string();
}

int Bindings::KeyCode(const std::string& name) {
    for (const KeyNameEntry& entry : kKeyNames)
        if (name == entry.name)
            return entry.code;
    return 0;
}

bool Bindings::IsPadName(const std::string& pad) {
    return std::find(std::begin(kPadNames), std::end(kPadNames), pad) != std::end(kPadNames);
}

} // namespace input
