#pragma once

#include "Dictionary/Lexicon.hpp"

#include <cstddef>

namespace kelvo {

// A dictionary is accepted only with more than this many entries.
inline constexpr std::size_t dictionaryEntryThreshold = 100000;

// True when the dictionary is large enough for the input service to start.
bool hasEnoughEntries(const Lexicon& lexicon);

// The self-check of the bundled dictionary: large enough, and 你 among the words of ㄋㄧˇ.
bool passesDictionaryCheck(const Lexicon& lexicon);

} // namespace kelvo
