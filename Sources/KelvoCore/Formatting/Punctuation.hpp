#pragma once

#include "Formatting/PunctuationMode.hpp"
#include "Text/UTF16.hpp"

#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The punctuation data of the engine: the keys that type Chinese punctuation, the full- and
// half-width forms of each mark, and the commit-time conversion of the chinese mode.
namespace kelvo::Punctuation {

struct WidthPair {
    std::string_view fullWidth;
    std::string_view halfWidth;
};

// Key character -> the Chinese punctuation it types while composing.
const std::map<std::string, std::string, std::less<>>& map();
// The 13 width pairs, in the order they are searched.
std::span<const WidthPair> widthPairs();

std::optional<std::string> fullWidth(std::string_view character);
// The forms offered for a mark: the mark itself, its other width, and for ，。； the key that types
// it; empty for anything that is not a mark of the pairs.
std::vector<std::string> variants(std::string_view mark);
// In the chinese mode, half-width punctuation becomes full width, except inside runs that hold
// @ . / or _ (addresses, paths, numbers, identifiers) and inside the preserved UTF-16 ranges.
std::string format(std::string_view text, PunctuationMode mode,
                   const std::vector<UTF16Range>& preservingUTF16);

} // namespace kelvo::Punctuation
