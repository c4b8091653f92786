#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace kelvo {

// How punctuation is typed and committed: Chinese punctuation while typing (smart), also converting
// half-width punctuation in committed text (chinese), or no conversion at all (english).
enum class PunctuationMode { smart, chinese, english };

inline constexpr std::array<PunctuationMode, 3> allPunctuationModes = {
    PunctuationMode::smart, PunctuationMode::chinese, PunctuationMode::english};

// The name a mode is stored under in the settings.
constexpr std::string_view rawValue(PunctuationMode mode) {
    switch (mode) {
    case PunctuationMode::smart:
        return "smart";
    case PunctuationMode::chinese:
        return "chinese";
    case PunctuationMode::english:
        return "english";
    }
    return {};
}

// The mode stored under a name; names are case-sensitive.
constexpr std::optional<PunctuationMode> punctuationModeFrom(std::string_view name) {
    for (PunctuationMode mode : allPunctuationModes)
        if (rawValue(mode) == name) return mode;
    return std::nullopt;
}

// The mode committed text is formatted with: the chosen mode, else smart with full-width
// punctuation on and english with it off.
constexpr PunctuationMode committedPunctuationMode(std::optional<PunctuationMode> chosen,
                                                   bool fullWidthPunctuation) {
    if (chosen) return *chosen;
    return fullWidthPunctuation ? PunctuationMode::smart : PunctuationMode::english;
}

} // namespace kelvo
