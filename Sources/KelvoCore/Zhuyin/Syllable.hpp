#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kelvo {

// One Zhuyin syllable: up to an initial, a medial, a final and a tone. Its canonical string (letters,
// then the tone mark, nothing for the first tone) is the reading of one syllable in the dictionary,
// the decoder and the learned data.
struct Syllable {
    enum class Initial : std::uint8_t { b, p, m, f, d, t, n, l, g, k, h, j, q, x, zh, ch, sh, r, z, c, s };
    enum class Medial : std::uint8_t { i, u, yu };
    enum class Final : std::uint8_t { a, o, e, eh, ai, ei, ao, ou, an, en, ang, eng, er };
    enum class Tone : std::uint8_t { tone1 = 1, tone2, tone3, tone4, tone5 };

    std::optional<Initial> initial;
    std::optional<Medial> medial;
    std::optional<Final> final;
    std::optional<Tone> tone;

    bool isEmpty() const { return !initial && !medial && !final && !tone; }
    // The letters without the tone, as shown while the syllable is typed.
    std::string display() const;
    // The letters followed by the tone mark.
    std::string canonical() const;

    friend bool operator==(const Syllable&, const Syllable&) = default;
};

// The Zhuyin letter of each component, and the component of a letter (no value for anything else).
std::string_view rawValue(Syllable::Initial initial);
std::string_view rawValue(Syllable::Medial medial);
std::string_view rawValue(Syllable::Final final);
int rawValue(Syllable::Tone tone);
std::string_view mark(Syllable::Tone tone);

std::optional<Syllable::Initial> makeInitial(std::string_view letter);
std::optional<Syllable::Medial> makeMedial(std::string_view letter);
std::optional<Syllable::Final> makeFinal(std::string_view letter);
std::optional<Syllable::Tone> makeTone(int rawValue);

// Every case of each component, in declaration order.
const std::array<Syllable::Initial, 21>& allInitials();
const std::array<Syllable::Medial, 3>& allMedials();
const std::array<Syllable::Final, 13>& allFinals();
const std::array<Syllable::Tone, 5>& allTones();

} // namespace kelvo
