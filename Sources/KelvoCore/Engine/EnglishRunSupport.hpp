#pragma once

#include "Text/Characters.hpp"

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace kelvo {

// Unit suffixes that may follow a number (12kg, 500mah), lower-case.
const std::unordered_set<std::string_view>& unitSuffixes();

// A key that holds English back rather than ending it: a version, a unit, a domain or a path may
// follow the word (python3.10, 12kg, example.com, usr/lib).
inline bool holdsEnglishOn(std::string_view key) {
    return key.size() == 1 &&
           (isDigitKey(key[0]) || std::string_view(",.-;/").find(key[0]) != std::string_view::npos);
}

// The characters from `begin` up to `end`, joined.
inline std::string joinedCharacters(const std::vector<std::string_view>& characters, std::size_t begin,
                                    std::size_t end) {
    std::string text;
    for (std::size_t i = begin; i < end; ++i)
        text += characters[i];
    return text;
}

} // namespace kelvo
