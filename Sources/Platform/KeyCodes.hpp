#pragma once

#include <cstdint>

namespace kelvo::platform {

// The one vocabulary of keys and modifiers a KeyEvent carries between the platform backend and the
// host: the codes of the keys that do not type a character, and the modifier flags.
enum class KeyCode : std::uint16_t {
    returnKey = 36,
    tab = 48,
    space = 49,
    deleteBackward = 51,
    escape = 53,
    leftShift = 56,
    capsLock = 57,
    rightShift = 60,
    keypadDecimal = 65,
    keypadMultiply = 67,
    keypadPlus = 69,
    keypadDivide = 75,
    keypadEnter = 76,
    keypadMinus = 78,
    keypadEquals = 81,
    keypad0 = 82,
    keypad1 = 83,
    keypad2 = 84,
    keypad3 = 85,
    keypad4 = 86,
    keypad5 = 87,
    keypad6 = 88,
    keypad7 = 89,
    keypad8 = 91,
    keypad9 = 92,
    pageUp = 116,
    pageDown = 121,
    leftArrow = 123,
    rightArrow = 124,
    downArrow = 125,
    upArrow = 126,
};

constexpr std::uint16_t code(KeyCode key) {
    return static_cast<std::uint16_t>(key);
}

// The keypad's digits, decimal point and operators (its Enter excepted).
constexpr bool isKeypadCharacter(std::uint16_t keyCode) {
    switch (static_cast<KeyCode>(keyCode)) {
    case KeyCode::keypadDecimal:
    case KeyCode::keypadMultiply:
    case KeyCode::keypadPlus:
    case KeyCode::keypadDivide:
    case KeyCode::keypadMinus:
    case KeyCode::keypadEquals:
    case KeyCode::keypad0:
    case KeyCode::keypad1:
    case KeyCode::keypad2:
    case KeyCode::keypad3:
    case KeyCode::keypad4:
    case KeyCode::keypad5:
    case KeyCode::keypad6:
    case KeyCode::keypad7:
    case KeyCode::keypad8:
    case KeyCode::keypad9:
        return true;
    default:
        return false;
    }
}

// Modifier flags.
namespace modifier {
inline constexpr std::uint32_t capsLock = 0x10000;
inline constexpr std::uint32_t shift = 0x20000;
inline constexpr std::uint32_t control = 0x40000;
inline constexpr std::uint32_t option = 0x80000;
inline constexpr std::uint32_t command = 0x100000;
inline constexpr std::uint32_t commandKeys = control | option | command;
inline constexpr std::uint32_t deviceIndependent = 0xFFFE0000; // every modifier but Caps Lock
} // namespace modifier

} // namespace kelvo::platform
