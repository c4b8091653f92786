#pragma once

#include "Dictionary/LearnedModel.hpp"

#include <functional>

namespace kelvo::testing {

// A learned model made of three functions; an absent one answers as if nothing were learned.
struct FunctionModel : LearnedModel {
    std::function<double(std::string_view, std::string_view)> scoreBonus;
    std::function<std::vector<Unigram>(std::string_view)> extra;
    std::function<TransitionScorer(std::string_view)> transitions;

    double bonus(std::string_view reading, std::string_view value) const override {
        return scoreBonus ? scoreBonus(reading, value) : 0.0;
    }
    std::vector<Unigram> extraWords(std::string_view reading) const override {
        return extra ? extra(reading) : std::vector<Unigram>{};
    }
    TransitionScorer transitionsAfter(std::string_view previous) const override {
        return transitions ? transitions(previous) : TransitionScorer{};
    }
};

} // namespace kelvo::testing
