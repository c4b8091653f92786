#pragma once

#include "Text/Characters.hpp"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvo {

// One unit of a composition: a typed syllable (its canonical reading) or literal text that is
// committed unchanged and never looked up.
struct Element {
    enum class Kind { reading, literal };

    Kind kind = Kind::literal;
    std::string text;

    static Element reading(std::string syllable) { return {Kind::reading, std::move(syllable)}; }
    static Element literal(std::string text) { return {Kind::literal, std::move(text)}; }

    bool isReading() const { return kind == Kind::reading; }
    // A literal of one typed key that `test` accepts (a letter, a digit).
    bool isKey(bool (*test)(char)) const { return !isReading() && text.size() == 1 && test(text[0]); }
    // The syllable of a reading element; no value for a literal.
    std::optional<std::string_view> readingValue() const {
        if (!isReading()) return std::nullopt;
        return text;
    }

    friend bool operator==(const Element&, const Element&) = default;
};

// Whether the digits and decimal points right before `index` follow a letter: the digit at `index`
// then belongs to a word (x86, md5sums, python3.10), not to a number.
inline bool followsLetters(const std::vector<Element>& elements, int index) {
    int before = index - 1;
    while (before >= 0 && elements[before].isKey(isNumberKey))
        --before;
    return before >= 0 && elements[before].isKey(isLetterKey);
}

// Whether the literal at `index` is a digit of a number, not of a word such as x86 or md5sums.
inline bool isNumberDigit(const std::vector<Element>& elements, int index) {
    return elements[index].isKey(isDigitKey) && !followsLetters(elements, index);
}

// Whether the literal at `index` is a letter of an English word: not a unit right after a digit.
inline bool isEnglishLetter(const std::vector<Element>& elements, int index) {
    const Element& element = elements[index];
    if (element.isReading() || element.text.empty() || !isLetterKey(element.text.front())) return false;
    return index == 0 || !elements[index - 1].isKey(isDigitKey);
}

} // namespace kelvo
