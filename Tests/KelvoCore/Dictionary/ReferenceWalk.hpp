#pragma once

// The decoder's walk written as plainly as its description, step by step, with no care for speed.
// The fast walk must give exactly the same results.

#include "Dictionary/SentenceDecoder.hpp"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace kelvo::reference {

inline std::optional<std::string> joinedReading(const std::vector<Element>& elements, int start, int end) {
    std::string reading;
    for (int i = start; i < end; ++i) {
        if (!elements[i].isReading()) return std::nullopt;
        if (i > start) reading += "-";
        reading += elements[i].text;
    }
    return reading;
}

inline std::vector<Unigram> allUnigrams(const SentenceDecoder& decoder, const LearnedModel* learned,
                                        const std::string& reading) {
    auto listed = decoder.lexicon->unigrams(reading);
    std::vector<Unigram> extra = learned ? learned->extraWords(reading) : std::vector<Unigram>{};
    if (extra.empty()) return {listed.begin(), listed.end()};
    std::vector<Unigram> merged;
    auto add = [&](const Unigram& word) {
        auto found = std::find_if(merged.begin(), merged.end(),
                                  [&](const Unigram& u) { return u.value == word.value; });
        if (found == merged.end())
            merged.push_back(word);
        else if (word.score > found->score)
            found->score = word.score;
    };
    for (const auto& word : listed)
        add(word);
    for (const auto& word : extra)
        add(word);
    return merged;
}

inline std::vector<Unigram> ranked(const SentenceDecoder& decoder, const LearnedModel* learned,
                                   const std::string& reading, double bonusShare) {
    std::vector<Unigram> words = allUnigrams(decoder, learned, reading);
    for (auto& word : words)
        if (learned) word.score = word.score + bonusShare * learned->bonus(reading, word.value);
    std::stable_sort(words.begin(), words.end(),
                     [](const Unigram& a, const Unigram& b) { return a.score > b.score; });
    return words;
}

struct Node {
    DecodedSegment segment;
    double score;
    bool chosen; // a pin, or a word with a learned bonus
};

inline std::vector<Node> nodes(const SentenceDecoder& decoder, const LearnedModel* learned,
                               const std::vector<Element>& elements, int start, int end,
                               const std::vector<DecodedSegment>& pins) {
    for (const auto& pin : pins)
        if (pin.start == start && pin.end() == end) return {Node{pin, 0.0, true}};
    if (end - start == 1 && !elements[start].isReading())
        return {Node{DecodedSegment{start, 1, elements[start].text, std::nullopt}, -0.1, false}};
    auto reading = joinedReading(elements, start, end);
    if (!reading) return {};
    std::vector<Unigram> words = ranked(
        decoder, learned, *reading, SentenceDecoder::habitShare(*reading, static_cast<int>(elements.size())));
    words.resize(std::min(words.size(), static_cast<std::size_t>(std::max(decoder.candidateDepth, 1))));
    std::vector<Node> result;
    for (const auto& word : words)
        result.push_back(Node{DecodedSegment{start, end - start, word.value, reading}, word.score,
                              learned && learned->bonus(*reading, word.value) > 0});
    if (result.empty() && end - start == 1)
        result.push_back(
            Node{DecodedSegment{start, 1, *reading, reading}, SentenceDecoder::unknownPenalty, false});
    return result;
}

struct State {
    DecodedSegment segment;
    double score;
    int prevIndex;
    bool chosen;
};

inline double transition(const LearnedModel* learned, const State& from, const Node& to) {
    if (!learned) return 0;
    auto scorer = learned->transitionsAfter(from.segment.value);
    return scorer ? SentenceDecoder::learnedPairBonus(scorer(to.segment.value), from.chosen || to.chosen) : 0;
}

inline std::vector<DecodedSegment> walk(const SentenceDecoder& decoder, const std::vector<Element>& elements,
                                        const std::vector<DecodedSegment>& pins,
                                        const LearnedModel* learned) {
    int n = static_cast<int>(elements.size());
    if (n == 0) return {};
    int L = std::max(decoder.lexicon->maxSpan(), 6);
    std::vector<std::vector<State>> states(n + 1);
    for (int end = 1; end <= n; ++end) {
        for (int start = std::max(end - L, 0); start <= end - 1; ++start) {
            if (start > 0 && states[start].empty()) continue;
            bool blocked = false;
            for (const auto& pin : pins)
                if (pin.start < end && start < pin.end() && !(pin.start == start && pin.end() == end))
                    blocked = true;
            if (blocked) continue;
            for (const auto& node : nodes(decoder, learned, elements, start, end, pins)) {
                double base = node.score + SentenceDecoder::nodePenalty;
                if (start == 0) {
                    states[end].push_back(State{node.segment, base, -1, node.chosen});
                    continue;
                }
                int bestIndex = -1;
                double best = 0;
                for (int i = 0; i < static_cast<int>(states[start].size()); ++i) {
                    const State& s = states[start][i];
                    double total = s.score + base + decoder.transitionWeight * transition(learned, s, node);
                    if (bestIndex < 0 || total > best) {
                        best = total;
                        bestIndex = i;
                    }
                }
                states[end].push_back(State{node.segment, best, bestIndex, node.chosen});
            }
        }
    }
    if (states[n].empty()) return {};
    int index = 0;
    for (int i = 1; i < static_cast<int>(states[n].size()); ++i)
        if (states[n][i].score > states[n][index].score) index = i;
    std::vector<DecodedSegment> path;
    const State* state = &states[n][index];
    while (true) {
        path.insert(path.begin(), state->segment);
        if (state->segment.start == 0) break;
        state = &states[state->segment.start][state->prevIndex];
    }
    return path;
}

} // namespace kelvo::reference
