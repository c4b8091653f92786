#pragma once

#include "Engine/CandidateSheet.hpp"
#include "Engine/ComposingStep.hpp"
#include "Engine/HeldEnglish.hpp"
#include "Engine/KeyInput.hpp"
#include "Engine/ListStep.hpp"
#include "Engine/LiteralStep.hpp"
#include "Engine/ShortcutBuffer.hpp"
#include "Zhuyin/SyllableComposer.hpp"

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace kelvo {

// Digits typed on the Zhuyin keys, which are also initials, finals and tones: the keys of the run
// and what they did to the composition, until a separator settles them as a number or they stay
// Chinese.
struct NumberRun {
    std::string raw;             // the keys of the run
    int elements = 0;            // elements the run has produced, just before the cursor
    bool wasOverwritten = false; // a key replaced a filled Zhuyin slot
    bool wasLiteral = false;     // a digit the composer refused became a literal

    // Whether `c` keeps the run going: a letter of a unit, a digit or a separator of a number.
    static bool continuedBy(std::string_view c);
    // The number the keys spell, with its unit if it has one; none while they spell no number.
    std::optional<std::string> number() const;

    friend bool operator==(const NumberRun&, const NumberRun&) = default;
};

// Typing syllables: the syllable under way and, when digits started it, the number run. An empty
// composer over an empty composition is the idle engine.
struct Composing {
    SyllableComposer composer;
    std::optional<NumberRun> number;

    // Presses `c` into the syllable, keeping the number run in step with what the key did.
    ComposingStep press(const std::string& c);

    friend bool operator==(const Composing&, const Composing&) = default;

private:
    void trackNumber(const std::string& c, bool composerWasEmpty);
};

// Every printable key is taken literally (an address after "http:", English typed with Shift, a
// held letter). The composer keeps what a long press left of the syllable before it.
struct LiteralRun {
    SyllableComposer composer;

    // What `key` does to the run; `heldKey` is the key a long press holds down, if any.
    LiteralStep take(const KeyInput& key, const std::optional<std::string>& heldKey) const;

    friend bool operator==(const LiteralRun&, const LiteralRun&) = default;
};

// One entry of a bilingual list: English text to insert, or the Chinese reading of the keys.
struct BilingualChoice {
    enum class Kind { english, tone1 };
    Kind kind = Kind::english;
    std::string text;

    friend bool operator==(const BilingualChoice&, const BilingualChoice&) = default;
};

// The keys offered as English next to their Chinese reading, or the width variants of the
// punctuation mark before the cursor. It opens over the syllable being typed, which it returns to
// when it closes without a choice.
struct BilingualSheet {
    std::vector<BilingualChoice> choices; // never empty
    int highlighted = 0;
    std::optional<int> replacementIndex; // the element an English choice replaces
    // Opened by the Space that ended the keys: typing on takes the highlighted choice with that Space.
    bool endsWithSpace = false;
    Composing underneath;

    // What `key` does to the list; moves the highlight itself.
    ListStep take(const KeyInput& key);

    friend bool operator==(const BilingualSheet&, const BilingualSheet&) = default;
};

// The engine's mode: which of these owns the next key.
using EngineState =
    std::variant<Composing, LiteralRun, HeldEnglish, ShortcutBuffer, CandidateSheet, BilingualSheet>;

} // namespace kelvo
