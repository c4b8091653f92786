#pragma once
// The keys the typing clients hand to a framework: X keysyms with the evdev codes of a US keyboard.
#include <X11/keysym.h>
#include <cstring>
#include <map>
#include <optional>
#include <string>

namespace typed {

// Evdev key codes on a US keyboard.
inline unsigned evdevCodeOf(char key) {
    static const char* rows[] = {"1234567890-=", "qwertyuiop[]", "asdfghjkl;'`", "\\zxcvbnm,./"};
    static const char* shiftedRows[] = {"!@#$%^&*()_+", "QWERTYUIOP{}", "ASDFGHJKL:\"~", "|ZXCVBNM<>?"};
    static const unsigned firsts[] = {2, 16, 30, 43};
    for (int row = 0; row < 4; ++row) {
        if (const char* at = std::strchr(rows[row], key))
            return firsts[row] + static_cast<unsigned>(at - rows[row]);
        if (const char* at = std::strchr(shiftedRows[row], key))
            return firsts[row] + static_cast<unsigned>(at - shiftedRows[row]);
    }
    return key == ' ' ? 57 : 0;
}

inline bool isShifted(char key) {
    return key && std::strchr("ABCDEFGHIJKLMNOPQRSTUVWXYZ!@#$%^&*()_+{}:\"~|<>?", key) != nullptr;
}

struct NamedKey {
    unsigned keysym;
    unsigned evdevCode;
};

// The keys a token names: Return, Down, Tab, Escape, BackSpace, Page_Down.
inline std::optional<NamedKey> namedKey(const std::string& token) {
    static const std::map<std::string, NamedKey> named = {
        {"Return", {XK_Return, 28}}, {"Down", {XK_Down, 108}},         {"Tab", {XK_Tab, 15}},
        {"Escape", {XK_Escape, 1}},  {"BackSpace", {XK_BackSpace, 14}}, {"Page_Down", {XK_Page_Down, 109}},
    };
    auto found = named.find(token);
    if (found == named.end()) return std::nullopt;
    return found->second;
}

constexpr unsigned leftShiftCode = 42;
constexpr unsigned shiftMask = 1;

} // namespace typed
