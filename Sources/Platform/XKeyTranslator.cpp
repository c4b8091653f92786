#include "XKeyTranslator.hpp"

#include "KeyCodes.hpp"

#include <X11/X.h>
#include <X11/keysym.h>
#include <chrono>
#include <map>

namespace kelvo::platform {
namespace {

// X's Super bit as IBus and Fcitx5 report it, beside Mod4.
constexpr unsigned superMask = 1u << 26;

// Evdev key codes of the keys that have a code of their own in KeyEvent.
const std::map<unsigned, KeyCode>& namedKeys() {
    using K = KeyCode;
    static const std::map<unsigned, KeyCode> codes = {
        {28, K::returnKey},      {96, K::keypadEnter},    {15, K::tab},           {57, K::space},
        {14, K::deleteBackward}, {1, K::escape},          {104, K::pageUp},       {109, K::pageDown},
        {105, K::leftArrow},     {106, K::rightArrow},    {108, K::downArrow},    {103, K::upArrow},
        {82, K::keypad0},        {79, K::keypad1},        {80, K::keypad2},       {81, K::keypad3},
        {75, K::keypad4},        {76, K::keypad5},        {77, K::keypad6},       {71, K::keypad7},
        {72, K::keypad8},        {73, K::keypad9},        {83, K::keypadDecimal}, {78, K::keypadPlus},
        {74, K::keypadMinus},    {55, K::keypadMultiply}, {98, K::keypadDivide},  {117, K::keypadEquals},
        {42, K::leftShift},      {54, K::rightShift},     {58, K::capsLock},
    };
    return codes;
}

// What each evdev key types on a US layout, unshifted and shifted.
const std::map<unsigned, std::pair<char, char>>& usLayout() {
    static const std::map<unsigned, std::pair<char, char>> keys = [] {
        std::map<unsigned, std::pair<char, char>> table;
        auto row = [&](unsigned first, const char* plain, const char* shifted) {
            for (unsigned i = 0; plain[i]; ++i)
                table[first + i] = {plain[i], shifted[i]};
        };
        row(2, "1234567890-=", "!@#$%^&*()_+");
        row(16, "qwertyuiop[]", "QWERTYUIOP{}");
        row(30, "asdfghjkl;'`", "ASDFGHJKL:\"~");
        row(43, "\\zxcvbnm,./", "|ZXCVBNM<>?");
        table[57] = {' ', ' '};
        return table;
    }();
    return keys;
}

std::uint32_t modifierFlags(unsigned state) {
    std::uint32_t flags = 0;
    if (state & ShiftMask) flags |= modifier::shift;
    if (state & LockMask) flags |= modifier::capsLock;
    if (state & ControlMask) flags |= modifier::control;
    if (state & Mod1Mask) flags |= modifier::option;
    if (state & (superMask | Mod4Mask)) flags |= modifier::command;
    return flags;
}

// The modifier flag a modifier key changes; none for other keys.
std::optional<std::uint32_t> modifierBit(unsigned keysym) {
    switch (keysym) {
    case XK_Shift_L:
    case XK_Shift_R:
        return modifier::shift;
    case XK_Caps_Lock:
        return modifier::capsLock;
    case XK_Control_L:
    case XK_Control_R:
        return modifier::control;
    case XK_Alt_L:
    case XK_Alt_R:
    case XK_Meta_L:
    case XK_Meta_R:
        return modifier::option;
    case XK_Super_L:
    case XK_Super_R:
        return modifier::command;
    default:
        return std::nullopt;
    }
}

} // namespace

KeyEvent keyEventFromX(unsigned keysym, unsigned evdevCode, unsigned state, bool isRepeat, double timestamp) {
    KeyEvent event;
    event.modifierFlags = modifierFlags(state);
    event.isARepeat = isRepeat;
    event.timestamp = timestamp;
    if (auto named = namedKeys().find(evdevCode); named != namedKeys().end())
        event.keyCode = code(named->second);
    if (auto key = usLayout().find(evdevCode); key != usLayout().end())
        event.characters = std::string(1, (state & ShiftMask) ? key->second.second : key->second.first);
    else if (keysym >= 0x20 && keysym < 0x7f)
        event.characters =
            std::string(1, static_cast<char>(keysym)); // keys outside the table: their own symbol
    return event;
}

std::optional<KeyEvent> XKeyTranslator::translate(unsigned keysym, unsigned evdevCode, unsigned state,
                                                  bool isRelease, double timestamp) {
    bool repeat = false;
    if (isRelease)
        down_.erase(evdevCode);
    else
        repeat = !down_.insert(evdevCode).second;
    KeyEvent event = keyEventFromX(keysym, evdevCode, state, repeat, timestamp);
    auto bit = modifierBit(keysym);
    if (!bit) {
        if (isRelease) return std::nullopt; // releases of other keys are not the controller's
        return event;
    }
    // Modifier changes carry the state after the change.
    if (keysym == XK_Caps_Lock) {
        if (isRelease) return std::nullopt; // Caps Lock changes on its press
        event.modifierFlags ^= *bit;
    } else if (isRelease) {
        event.modifierFlags &= ~*bit;
    } else {
        event.modifierFlags |= *bit;
    }
    event.type = KeyEvent::Type::flagsChanged;
    return event;
}

double secondsNow() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

KeyEvent pressOf(KeyCode key) {
    KeyEvent event;
    event.keyCode = code(key);
    event.timestamp = secondsNow();
    return event;
}

} // namespace kelvo::platform
