#include "Zhuyin/Syllable.hpp"

#include <algorithm>

namespace kelvo {
namespace {

// Letters in declaration order; they are consecutive code points starting at U+3105, U+3127, U+311A.
constexpr std::array<std::string_view, 21> initialLetters = {"ㄅ", "ㄆ", "ㄇ", "ㄈ", "ㄉ", "ㄊ", "ㄋ",
                                                             "ㄌ", "ㄍ", "ㄎ", "ㄏ", "ㄐ", "ㄑ", "ㄒ",
                                                             "ㄓ", "ㄔ", "ㄕ", "ㄖ", "ㄗ", "ㄘ", "ㄙ"};
constexpr std::array<std::string_view, 3> medialLetters = {"ㄧ", "ㄨ", "ㄩ"};
constexpr std::array<std::string_view, 13> finalLetters = {"ㄚ", "ㄛ", "ㄜ", "ㄝ", "ㄞ", "ㄟ", "ㄠ",
                                                           "ㄡ", "ㄢ", "ㄣ", "ㄤ", "ㄥ", "ㄦ"};
constexpr std::array<std::string_view, 5> toneMarks = {"", "ˊ", "ˇ", "ˋ", "˙"};

template <class Enum, std::size_t N>
std::optional<Enum> caseForLetter(const std::array<std::string_view, N>& letters, std::string_view letter) {
    auto found = std::find(letters.begin(), letters.end(), letter);
    if (found == letters.end()) return std::nullopt;
    return static_cast<Enum>(found - letters.begin());
}

template <class Enum, std::size_t N> std::array<Enum, N> casesFrom(std::uint8_t first) {
    std::array<Enum, N> cases{};
    for (std::size_t n = 0; n < N; ++n)
        cases[n] = static_cast<Enum>(first + n);
    return cases;
}

} // namespace

std::string_view rawValue(Syllable::Initial initial) {
    return initialLetters[static_cast<std::size_t>(initial)];
}
std::string_view rawValue(Syllable::Medial medial) {
    return medialLetters[static_cast<std::size_t>(medial)];
}
std::string_view rawValue(Syllable::Final final) {
    return finalLetters[static_cast<std::size_t>(final)];
}
int rawValue(Syllable::Tone tone) {
    return static_cast<int>(tone);
}
std::string_view mark(Syllable::Tone tone) {
    return toneMarks[static_cast<std::size_t>(tone) - 1];
}

std::optional<Syllable::Initial> makeInitial(std::string_view letter) {
    return caseForLetter<Syllable::Initial>(initialLetters, letter);
}
std::optional<Syllable::Medial> makeMedial(std::string_view letter) {
    return caseForLetter<Syllable::Medial>(medialLetters, letter);
}
std::optional<Syllable::Final> makeFinal(std::string_view letter) {
    return caseForLetter<Syllable::Final>(finalLetters, letter);
}
std::optional<Syllable::Tone> makeTone(int value) {
    if (value < 1 || value > 5) return std::nullopt;
    return static_cast<Syllable::Tone>(value);
}

const std::array<Syllable::Initial, 21>& allInitials() {
    static const auto cases = casesFrom<Syllable::Initial, 21>(0);
    return cases;
}
const std::array<Syllable::Medial, 3>& allMedials() {
    static const auto cases = casesFrom<Syllable::Medial, 3>(0);
    return cases;
}
const std::array<Syllable::Final, 13>& allFinals() {
    static const auto cases = casesFrom<Syllable::Final, 13>(0);
    return cases;
}
const std::array<Syllable::Tone, 5>& allTones() {
    static const auto cases = casesFrom<Syllable::Tone, 5>(1);
    return cases;
}

std::string Syllable::display() const {
    std::string text;
    if (initial) text += rawValue(*initial);
    if (medial) text += rawValue(*medial);
    if (final) text += rawValue(*final);
    return text;
}

std::string Syllable::canonical() const {
    std::string text = display();
    if (tone) text += mark(*tone);
    return text;
}

} // namespace kelvo
