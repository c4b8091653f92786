#pragma once

#include <array>
#include <string>

namespace kelvo {

// The engine's whole input alphabet: what the host makes of one key event.
struct KeyInput {
    enum class Kind {
        character,         // a printable ASCII key in Chinese mode, lower-cased by the host
        repeatedCharacter, // the same, as an auto-repeat of a held key
        englishLiteral,    // a letter typed with Shift, case kept: English text, not a Zhuyin key
        space,
        enter,
        escape,
        backspace,
        tab,
        arrowLeft,
        arrowRight,
        arrowUp,
        arrowDown,
        pageUp,
        pageDown,
    };

    // Every kind, in order: tests go through this list, so a new kind cannot be left out.
    static constexpr std::array<Kind, 14> allKinds = {
        Kind::character,      Kind::repeatedCharacter,
        Kind::englishLiteral, Kind::space,
        Kind::enter,          Kind::escape,
        Kind::backspace,      Kind::tab,
        Kind::arrowLeft,      Kind::arrowRight,
        Kind::arrowUp,        Kind::arrowDown,
        Kind::pageUp,         Kind::pageDown,
    };
    static bool carriesCharacter(Kind kind) {
        return kind == Kind::character || kind == Kind::repeatedCharacter || kind == Kind::englishLiteral;
    }

    Kind kind = Kind::space;
    std::string character; // one character, for the first three kinds only

    static KeyInput of(Kind kind) { return {kind, {}}; }
    static KeyInput typed(std::string character) { return {Kind::character, std::move(character)}; }
    static KeyInput repeated(std::string character) {
        return {Kind::repeatedCharacter, std::move(character)};
    }
    static KeyInput english(std::string character) { return {Kind::englishLiteral, std::move(character)}; }

    friend bool operator==(const KeyInput&, const KeyInput&) = default;
};

} // namespace kelvo
