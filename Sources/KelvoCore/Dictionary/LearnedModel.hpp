#pragma once

#include "Dictionary/Unigram.hpp"

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

namespace kelvo {

// What the user's habits add to the dictionary while a composition is decoded: a bonus for words
// chosen before, words of the user's own, and word pairs that follow each other often. The decoder
// asks it during one walk; a decode without one is the dictionary alone.
class LearnedModel {
public:
    // A pair of words the user committed: ln(count + 1), and the pair's share of all the pairs
    // committed after its first word.
    struct Transition {
        double bonus = 0.0;
        double share = 0.0;
    };
    // The pair `value` makes with the word a scorer was made for. An empty scorer stands for a word
    // that no other word was committed after.
    using TransitionScorer = std::function<Transition(std::string_view value)>;

    virtual ~LearnedModel() = default;

    // Extra score for a word on a reading.
    virtual double bonus(std::string_view reading, std::string_view value) const = 0;
    // Words of the user's own for a reading.
    virtual std::vector<Unigram> extraWords(std::string_view reading) const = 0;
    // The score of the user's own words that begin with a syllable, if any does: a syllable the
    // dictionary lacks may still start one (ㄈㄧˇ of 飛飛 read ㄈㄧˇ-ㄈㄧˇ).
    virtual std::optional<double> wordsBeginningWith(std::string_view /*syllable*/) const {
        return std::nullopt;
    }
    // The scorer for the words that follow `previous`. Asked once per preceding word, so whatever
    // the previous word needs is looked up once, not once per pair.
    virtual TransitionScorer transitionsAfter(std::string_view previous) const = 0;

    // Changes whenever an answer above may change, and never comes back, whichever model answers.
    // While it stays the same a decoder keeps what it worked out with the model, scorers included,
    // from one walk to the next. None where the model cannot tell: then a decoder keeps nothing.
    virtual std::optional<std::uint64_t> revision() const { return std::nullopt; }

    // Keys typed as a word read as English: whether the user committed them as English before, and
    // how much likelier that makes English for them (less where the user chose Chinese instead).
    virtual bool knowsEnglishWord(std::string_view /*keys*/) const { return false; }
    virtual double englishAdjustment(std::string_view /*keys*/) const { return 0; }
};

} // namespace kelvo
