#pragma once

#include "Dictionary/LearnedModel.hpp"
#include "Dictionary/Lexicon.hpp"

#include <deque>
#include <string_view>
#include <vector>

namespace kelvo {

// A word of one stretch with its total score. The value points into the lexicon, the caller's
// pins or elements, or a list of extra words kept alive for the call.
struct ScoredWord {
    std::string_view value;
    double total;
    bool chosen = false; // the user chose it from a list before
};

// Extra words of the user's own, kept alive for one walk.
using ExtraWords = std::deque<std::vector<Unigram>>;

// The words of a reading ranked by total score, each with `bonusShare` of its learned bonus. Lexicon
// words are read in place; extra words are moved into `extras` so that their values stay valid for
// the rest of the call.
void collectRankedWords(const Lexicon& lexicon, const LearnedModel* learned, std::string_view reading,
                        ExtraWords& extras, std::vector<ScoredWord>& ranked, double bonusShare = 1.0);

} // namespace kelvo
