#pragma once

#include <optional>
#include <string>
#include <string_view>

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
    // The syllable of a reading element; no value for a literal.
    std::optional<std::string_view> readingValue() const {
        if (!isReading()) return std::nullopt;
        return text;
    }

    friend bool operator==(const Element&, const Element&) = default;
};

} // namespace kelvo
