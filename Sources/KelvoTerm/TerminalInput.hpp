#pragma once

#include "Engine/KeyInput.hpp"

#include <string_view>
#include <vector>

namespace kelvo::term {

// What a chunk of bytes read from a terminal in raw mode means.
struct TerminalEvent {
    enum class Kind { key, toggleMode, quit };
    Kind kind = Kind::key;
    KeyInput key; // for `key`

    friend bool operator==(const TerminalEvent&, const TerminalEvent&) = default;
};

// Printable ASCII keys (upper-case letters as English literals), Space, Enter, Tab, Escape,
// Backspace, the arrows and Page Up/Down from their escape sequences; F2 toggles Chinese and
// English; Ctrl-D and Ctrl-C quit. Anything else is ignored.
std::vector<TerminalEvent> decodeTerminalInput(std::string_view bytes);

} // namespace kelvo::term
