#pragma once

#include "Formatting/PreferredTerms.hpp"
#include "Formatting/PunctuationMode.hpp"
#include "Text/UTF16.hpp"

#include <string>
#include <string_view>
#include <vector>

namespace kelvo {

// The rules applied to committed text, in order: preferred spellings of English terms, punctuation
// by mode, and single spaces at the borders between Chinese, English and numbers. A default value
// leaves text unchanged.
struct TextFormatting {
    PunctuationMode punctuationMode = PunctuationMode::smart;
    bool preferredCapitalization = false;
    PreferredTerms::Terms preferredTerms; // the user's overrides, keyed by lower-case term
    bool chineseEnglishSpace = false;
    bool chineseNumberSpace = false;
    bool englishNumberSpace = false;

    TextFormatting() = default;
    TextFormatting(bool chineseEnglishSpace, bool chineseNumberSpace, bool englishNumberSpace,
                   bool preferredCapitalization, PreferredTerms::Terms preferredTerms,
                   PunctuationMode punctuationMode)
        : punctuationMode(punctuationMode), preferredCapitalization(preferredCapitalization),
          preferredTerms(std::move(preferredTerms)), chineseEnglishSpace(chineseEnglishSpace),
          chineseNumberSpace(chineseNumberSpace), englishNumberSpace(englishNumberSpace) {}

    // The committed form of `text`; the ranges (UTF-16) hold text the user capitalised or chose
    // explicitly, which keeps its case and its punctuation.
    std::string apply(std::string_view text, const std::vector<UTF16Range>& preservingCaseIn = {}) const;
    // The preferred spelling of a single word, when preferred capitalisation is on.
    std::string preferredVariant(std::string_view text) const;

    friend bool operator==(const TextFormatting&, const TextFormatting&) = default;

private:
    std::string spaced(std::string_view text) const;
};

} // namespace kelvo
