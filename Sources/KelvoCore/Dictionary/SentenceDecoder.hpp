#pragma once

#include "Dictionary/DecodedSegment.hpp"
#include "Dictionary/Element.hpp"
#include "Dictionary/Lexicon.hpp"

#include <functional>
#include <memory>
#include <string_view>
#include <vector>

namespace kelvo {

// Turns a composition into its most likely words: a best-path search over every segmentation,
// through the stretches the user pinned, scored by the lexicon and by learned data through hooks.
class SentenceDecoder {
public:
    // Extra score for a word on a reading.
    using ScoreBonus = std::function<double(std::string_view reading, std::string_view value)>;
    // Additional words for a reading.
    using ExtraUnigrams = std::function<std::vector<Unigram>(std::string_view reading)>;
    // Extra score for `value` following the word a scorer was made for. An empty scorer stands for
    // a word that no other word gets a bonus after.
    using TransitionScorer = std::function<double(std::string_view value)>;
    // The scorer for the words that follow `previous`. It is asked once per preceding word, so
    // whatever the previous word needs is looked up once, not once per pair.
    using TransitionBonus = std::function<TransitionScorer(std::string_view previous)>;

    static constexpr double unknownPenalty = -17.0; // a syllable with no word
    static constexpr double nodePenalty = -2.0;     // added for every word on a path
    static constexpr double pinScore = 0.0;
    static constexpr double literalScore = -0.1;

    explicit SentenceDecoder(std::shared_ptr<const Lexicon> lexicon);

    std::shared_ptr<const Lexicon> lexicon;
    ScoreBonus scoreBonus;
    ExtraUnigrams extraUnigrams;
    TransitionBonus transitionBonus;
    double transitionWeight = 2.0;
    int candidateDepth = 4; // words per stretch that take part in the walk

    // The best segmentation covering every element, in position order; empty when there are no
    // elements or no complete path.
    std::vector<DecodedSegment> walk(const std::vector<Element>& elements,
                                     const std::vector<DecodedSegment>& pins) const;

    // Every word that starts at `start`: longest stretches first, then by score.
    std::vector<DecodedSegment> candidateSegments(const std::vector<Element>& elements, int start) const;

    // The words of one reading with their total scores (score plus bonus), best first; ties keep
    // the order of the lexicon followed by the extra words.
    std::vector<Unigram> rankedUnigrams(std::string_view reading) const;

    // The longest stretch a word may cover.
    int maximumSpan() const;
};

} // namespace kelvo
