#pragma once

#include "Dictionary/LearnedModel.hpp"
#include "Dictionary/SentenceDecoder.hpp"
#include "Engine/KeyLattice.hpp"

#include <optional>
#include <string>
#include <vector>

namespace kelvo {

// How many of the lattice's likeliest readings of a stretch are read again in words.
constexpr std::size_t readingsReadInWords = 4;

// Of the likeliest readings of a stretch of keys, best first, the one whose syllables make the
// likeliest words: the lattice scores a syllable with the one before it, the words see further
// (ar 壓縮檔 rather than a 加縮檔, whose syllables alone score better). Readings that score far
// below the best, or that hold a number or a syllable no dictionary has, are not read again.
std::optional<KeyPath> likeliestInWords(std::vector<KeyPath> paths,
                                        const std::optional<std::string>& previousReading,
                                        const SentenceDecoder& decoder, const LearnedModel* learned);

} // namespace kelvo
