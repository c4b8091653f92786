#include "Dictionary/SentenceDecoder.hpp"

#include "Dictionary/DecoderForward.hpp"
#include "Dictionary/RankedWords.hpp"
#include "Text/Characters.hpp"

#include <algorithm>
#include <cmath>

namespace kelvo {
namespace {

using decoding::NodeKind;
using decoding::State;

bool isWordKind(NodeKind kind) {
    return kind == NodeKind::word || kind == NodeKind::pin;
}

// A literal typed as a key of a number or an English word.
bool isTypedKeyKind(NodeKind kind) {
    return kind == NodeKind::numberDigit || kind == NodeKind::englishLetter;
}

// Whether the word-pair model scores a node with its neighbours.
bool takesPairs(NodeKind kind) {
    return isWordKind(kind) || isTypedKeyKind(kind);
}

std::string joinedReading(const std::vector<Element>& elements, int start, int end) {
    std::string reading;
    for (int i = start; i < end; ++i) {
        if (i > start) reading += '-';
        reading += elements[i].text;
    }
    return reading;
}

bool overlapsWithoutMatching(const DecodedSegment& pin, int start, int end) {
    bool overlaps = pin.start < end && start < pin.end();
    return overlaps && !(pin.start == start && pin.end() == end);
}

} // namespace

SentenceDecoder::SentenceDecoder(std::shared_ptr<const Lexicon> lexicon) : lexicon(std::move(lexicon)) {}

double SentenceDecoder::habitShare(std::string_view reading, int elements) {
    const bool oneSyllable = reading.find('-') == std::string_view::npos;
    return oneSyllable && elements > 1 ? oneSyllableHabitShare : 1.0;
}

double SentenceDecoder::learnedPairBonus(const LearnedModel::Transition& pair, bool chosen) {
    return chosen ? pair.bonus : pair.bonus * std::sqrt(pair.share);
}

int SentenceDecoder::maximumSpan() const {
    return std::max(lexicon->maxSpan(), 6);
}

std::vector<Unigram> SentenceDecoder::rankedUnigrams(std::string_view reading,
                                                     const LearnedModel* learned) const {
    ExtraWords extras;
    std::vector<ScoredWord> ranked;
    collectRankedWords(*lexicon, learned, reading, extras, ranked);
    std::vector<Unigram> result;
    result.reserve(ranked.size());
    for (const ScoredWord& word : ranked)
        result.push_back(Unigram{std::string(word.value), word.total});
    return result;
}

std::vector<DecodedSegment> SentenceDecoder::candidateSegments(const std::vector<Element>& elements,
                                                               int start, const LearnedModel* learned) const {
    std::vector<DecodedSegment> candidates;
    const int count = static_cast<int>(elements.size());
    if (start < 0) return candidates;
    const int longest = std::min(maximumSpan(), count - start);
    ExtraWords extras;
    std::vector<ScoredWord> ranked;
    for (int length = longest; length >= 1; --length) {
        bool hasLiteral = std::any_of(elements.begin() + start, elements.begin() + start + length,
                                      [](const Element& element) { return !element.isReading(); });
        if (hasLiteral) continue;
        std::string reading = joinedReading(elements, start, start + length);
        collectRankedWords(*lexicon, learned, reading, extras, ranked);
        for (const ScoredWord& word : ranked)
            candidates.push_back(DecodedSegment{start, length, std::string(word.value), reading});
    }
    return candidates;
}

std::vector<DecodedSegment> SentenceDecoder::walk(const std::vector<Element>& elements,
                                                  const std::vector<DecodedSegment>& pins,
                                                  const LearnedModel* learned) const {
    return scoredWalk(elements, pins, learned).segments;
}

SentenceDecoder::ScoredWalk SentenceDecoder::scoredWalk(const std::vector<Element>& elements,
                                                        const std::vector<DecodedSegment>& pins,
                                                        const LearnedModel* learned) const {
    const int n = static_cast<int>(elements.size());
    if (n == 0) return {};
    const int span = maximumSpan();
    const std::size_t depth = static_cast<std::size_t>(std::max(candidateDepth, 1));

    Forward& forward = memory_.forWalk(*this, elements, pins, learned);
    const int kept = static_cast<int>(forward.states.size()) - 1;
    std::vector<std::vector<State>>& states = forward.states;
    states.resize(n + 1);
    // The reading of the stretch from each start to the current end, grown one syllable per end,
    // and whether that stretch holds a literal (then it has no reading).
    std::vector<std::string>& readings = forward.readings;
    std::vector<char>& hasLiteral = forward.hasLiteral;
    readings.resize(n);
    hasLiteral.resize(n);
    for (int start = std::max(kept - span + 1, 0); start < kept; ++start) {
        hasLiteral[start] = std::any_of(elements.begin() + start, elements.begin() + kept,
                                        [](const Element& element) { return !element.isReading(); });
        if (!hasLiteral[start]) readings[start] = joinedReading(elements, start, kept);
    }
    ExtraWords& extras = forward.extras;
    std::vector<ScoredWord> ranked;
    const std::optional<WordPairModel::Word> numberWord =
        wordPairs ? wordPairs->word(WordPairModel::numberWord) : std::nullopt;
    const std::optional<WordPairModel::Word> englishWord =
        wordPairs ? wordPairs->word(WordPairModel::englishWord) : std::nullopt;
    const double afterUnknownWord = wordPairs ? wordPairs->contextAfter(std::nullopt, std::nullopt) : 0.0;

    // Appends the state for one node, reached from the best predecessor at `start`.
    auto reach = [&](int start, int end, NodeKind kind, std::string_view value, const DecodedSegment* pin,
                     double nodeScore, bool chosen = false) {
        chosen = chosen || pin;
        const double base = nodeScore + nodePenalty;
        std::optional<WordPairModel::Word> modelWord;
        if (kind == NodeKind::numberDigit)
            modelWord = numberWord;
        else if (kind == NodeKind::englishLetter)
            modelWord = englishWord;
        else if (isWordKind(kind) && wordPairs)
            modelWord = wordPairs->word(value);
        if (start == 0) {
            states[end].push_back(
                State{start, end, kind, value, pin, chosen, base, -1, modelWord, {}, false});
            return;
        }
        std::vector<State>& previous = states[start];
        double best = 0;
        int bestIndex = -1;
        const bool pairs = wordPairs && takesPairs(kind);
        for (int i = 0; i < static_cast<int>(previous.size()); ++i) {
            State& s = previous[i];
            double bonus = 0.0;
            if (learned) {
                if (!s.scorerFetched) {
                    s.scorer = learned->transitionsAfter(s.value);
                    s.scorerFetched = true;
                }
                if (s.scorer) bonus = learnedPairBonus(s.scorer(value), s.chosen || chosen);
            }
            double total = s.score + base + transitionWeight * bonus;
            if (pairs && s.modelWord) {
                if (!isTypedKeyKind(kind) || s.kind != kind) // keys of one number or word
                    total += wordPairs->contextAfter(*s.modelWord, modelWord);
            } else if (pairs && isWordKind(s.kind)) {
                total += afterUnknownWord;
            }
            if (bestIndex < 0 || total > best) {
                best = total;
                bestIndex = i;
            }
        }
        // A Space after a number or an English word keeps it as the context of what follows.
        if (kind == NodeKind::literal && value == " " && isTypedKeyKind(previous[bestIndex].kind))
            modelWord = previous[bestIndex].modelWord;
        states[end].push_back(
            State{start, end, kind, value, pin, chosen, best, bestIndex, modelWord, {}, false});
    };

    for (int end = kept + 1; end <= n; ++end) {
        const Element& last = elements[end - 1];
        const int first = std::max(end - span, 0);
        for (int start = first; start < end; ++start) {
            if (!last.isReading()) {
                hasLiteral[start] = 1;
            } else if (start == end - 1) {
                readings[start] = last.text;
                hasLiteral[start] = 0;
            } else if (!hasLiteral[start]) {
                readings[start] += '-';
                readings[start] += last.text;
            }
        }
        for (int start = first; start < end; ++start) {
            if (start > 0 && states[start].empty()) continue;
            if (std::any_of(pins.begin(), pins.end(), [&](const DecodedSegment& pin) {
                    return overlapsWithoutMatching(pin, start, end);
                }))
                continue;
            auto pin = std::find_if(forward.pins.begin(), forward.pins.end(), [&](const DecodedSegment& pin) {
                return pin.start == start && pin.end() == end;
            });
            if (pin != forward.pins.end()) {
                reach(start, end, NodeKind::pin, pin->value, &*pin, pinScore);
                continue;
            }
            if (end - start == 1 && !elements[start].isReading()) {
                NodeKind literal = NodeKind::literal;
                if (numberWord && isNumberDigit(elements, start))
                    literal = NodeKind::numberDigit;
                else if (englishWord && isEnglishLetter(elements, start))
                    literal = NodeKind::englishLetter;
                reach(start, end, literal, forward.elements[start].text, nullptr, literalScore);
                continue;
            }
            if (hasLiteral[start]) continue;
            collectRankedWords(*lexicon, learned, readings[start], extras, ranked,
                               habitShare(readings[start], n));
            if (ranked.empty()) {
                if (end - start == 1)
                    reach(start, end, NodeKind::unknownSyllable, forward.elements[start].text, nullptr,
                          unknownPenalty);
                continue;
            }
            for (std::size_t k = 0; k < std::min(depth, ranked.size()); ++k)
                reach(start, end, NodeKind::word, ranked[k].value, nullptr, ranked[k].total,
                      ranked[k].chosen);
        }
    }

    const std::vector<State>& final = states[n];
    if (final.empty()) return {};
    int index = 0;
    for (int i = 1; i < static_cast<int>(final.size()); ++i)
        if (final[i].score > final[index].score) index = i;

    std::vector<DecodedSegment> path;
    for (const State* state = &final[index];;) {
        switch (state->kind) {
        case NodeKind::pin:
            path.push_back(*state->pin);
            break;
        case NodeKind::literal:
        case NodeKind::numberDigit:
        case NodeKind::englishLetter:
            path.push_back(DecodedSegment{state->start, 1, std::string(state->value), std::nullopt});
            break;
        case NodeKind::word:
        case NodeKind::unknownSyllable:
            path.push_back(DecodedSegment{state->start, state->end - state->start, std::string(state->value),
                                          joinedReading(elements, state->start, state->end)});
            break;
        }
        if (state->start == 0) break;
        state = &states[state->start][state->prevIndex];
    }
    std::reverse(path.begin(), path.end());
    return {std::move(path), final[index].score};
}

} // namespace kelvo
