#pragma once

#include "Dictionary/DecodedSegment.hpp"
#include "Dictionary/Element.hpp"
#include "Dictionary/LearnedModel.hpp"
#include "Dictionary/Lexicon.hpp"
#include "Dictionary/WordPairModel.hpp"

#include <memory>
#include <string_view>
#include <vector>

namespace kelvo {

// Turns a composition into its most likely words: a best-path search over every segmentation,
// through the stretches the user pinned, scored by the lexicon, by how likely each word is after the
// one before it (when a word-pair model is given) and, when given, by a learned model above both.
class SentenceDecoder {
public:
    static constexpr double unknownPenalty = -17.0; // a syllable with no word
    static constexpr double nodePenalty = -2.0;     // added for every word on a path
    static constexpr double pinScore = 0.0;
    static constexpr double literalScore = -0.1;
    // Inside a sentence a character chosen over its homophones was chosen for its neighbours, which
    // the learned pairs keep: there it adds three quarters of its bonus, else one choice of 以
    // replaces 已 everywhere. Typed alone, and in the lists, a choice counts in full.
    static constexpr double oneSyllableHabitShare = 0.75;
    // The share of its learned bonus a word of `reading` takes in a walk over `elements` elements.
    static double habitShare(std::string_view reading, int elements);
    // What a committed pair adds, before `transitionWeight`: in full where the user chose one of its
    // words from a list. A pair the decoder made by itself says little about what follows its first
    // word once that word was committed before many others (的 值 once, then 的 before everything):
    // it counts by the square root of its share of them, else 的值 read 的執行 as 的值行 ever after.
    static double learnedPairBonus(const LearnedModel::Transition& pair, bool chosen);

    explicit SentenceDecoder(std::shared_ptr<const Lexicon> lexicon);

    std::shared_ptr<const Lexicon> lexicon;
    // What the word before adds to each word; its figures multiply onto the words' own probabilities
    // as they are, making the path's score the probability of its words in sequence. None: each word
    // by its own score alone.
    std::shared_ptr<const WordPairModel> wordPairs;
    // How much a pair the user committed weighs: 4 ln(count + 1) in all, twice what a chosen word
    // adds, as the more specific habit, which must outweigh the word-pair model's context (意謂著,
    // not 意味著).
    double transitionWeight = 4.0;
    int candidateDepth = 4; // words per stretch that take part in the walk

    // The best segmentation covering every element, in position order; empty when there are no
    // elements or no complete path. A walk over the same first elements as the walk before, with
    // the same pins, settings and habits, takes up what that walk worked out for them: a key at the
    // end of a long composition costs one step, not the whole sentence. A decoder is therefore for
    // one thread at a time.
    std::vector<DecodedSegment> walk(const std::vector<Element>& elements,
                                     const std::vector<DecodedSegment>& pins,
                                     const LearnedModel* learned = nullptr) const;

    // The best segmentation with its score: the log10 probability of its words in sequence, with
    // `nodePenalty` for each of its segments and `literalScore` for each literal.
    struct ScoredWalk {
        std::vector<DecodedSegment> segments;
        double score = 0;
    };
    ScoredWalk scoredWalk(const std::vector<Element>& elements, const std::vector<DecodedSegment>& pins,
                          const LearnedModel* learned = nullptr) const;

    // Every word that starts at `start`: longest stretches first, then by score.
    std::vector<DecodedSegment> candidateSegments(const std::vector<Element>& elements, int start,
                                                  const LearnedModel* learned = nullptr) const;

    // The words of one reading with their total scores (score plus bonus), best first; ties keep
    // the order of the lexicon followed by the extra words.
    std::vector<Unigram> rankedUnigrams(std::string_view reading,
                                        const LearnedModel* learned = nullptr) const;

    // The longest stretch a word may cover.
    int maximumSpan() const;

private:
    struct Forward;
    // What the last walk worked out, for the next one; a copy of the decoder starts without.
    class ForwardMemory {
    public:
        ForwardMemory();
        ForwardMemory(const ForwardMemory&);
        ForwardMemory& operator=(const ForwardMemory&);
        ~ForwardMemory();
        // The memory set up for a walk: the states of the ends it shares with the walk before
        // kept, the rest gone.
        Forward& forWalk(const SentenceDecoder& decoder, const std::vector<Element>& elements,
                         const std::vector<DecodedSegment>& pins, const LearnedModel* learned);

    private:
        std::unique_ptr<Forward> forward_;
    };
    mutable ForwardMemory memory_;
};

} // namespace kelvo
