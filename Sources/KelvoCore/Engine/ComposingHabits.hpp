#pragma once

#include "Dictionary/DecodedSegment.hpp"
#include "Dictionary/LearnedModel.hpp"

#include <vector>

namespace kelvo {

// The user's habits with the choices of the composition under way counted at once: a word chosen
// for one stretch counts, for every other stretch of its reading, as a word chosen before (懸停
// typed twice in a sentence is put right once). After the commit the habits count it anyway.
class ComposingHabits : public LearnedModel {
public:
    // `learned` may be none (learning off), and both must outlive this.
    ComposingHabits(const LearnedModel* learned, const std::vector<DecodedSegment>& pins)
        : learned_(learned), pins_(pins) {}

    // What the decoder is given: this, or none where nothing is learned.
    const LearnedModel* model() const { return learned_ ? this : nullptr; }

    double bonus(std::string_view reading, std::string_view value) const override;
    std::vector<Unigram> extraWords(std::string_view reading) const override {
        return learned_->extraWords(reading);
    }
    std::optional<double> wordsBeginningWith(std::string_view syllable) const override {
        return learned_->wordsBeginningWith(syllable);
    }
    TransitionScorer transitionsAfter(std::string_view previous) const override {
        return learned_->transitionsAfter(previous);
    }
    // The pins count too, and the decoder compares them itself.
    std::optional<std::uint64_t> revision() const override { return learned_->revision(); }
    bool knowsEnglishWord(std::string_view keys) const override { return learned_->knowsEnglishWord(keys); }
    double englishAdjustment(std::string_view keys) const override {
        return learned_->englishAdjustment(keys);
    }

private:
    const LearnedModel* learned_;
    const std::vector<DecodedSegment>& pins_;
};

} // namespace kelvo
