#pragma once

// The decoder's forward pass: the best ways into every end of a composition, kept from one walk to
// the next.
#include "Dictionary/RankedWords.hpp"
#include "Dictionary/SentenceDecoder.hpp"

#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvo {
namespace decoding {

// How a node came about, which decides the segment it becomes. A digit of a number or a letter of
// an English word standing among words is a literal that the word-pair model knows as a word of
// its own (第 3 個, Tab 鍵).
enum class NodeKind { word, pin, literal, numberDigit, englishLetter, unknownSyllable };

// One way into an end: a node, and the best way into its start.
struct State {
    int start;
    int end;
    NodeKind kind;
    std::string_view value;
    const DecodedSegment* pin;
    bool chosen; // a pin, or a word the user chose before
    double score;
    int prevIndex;
    std::optional<WordPairModel::Word> modelWord; // the word as the word-pair model knows it
    // Asked for once, when the state first precedes another word.
    LearnedModel::TransitionScorer scorer;
    bool scorerFetched = false;
};

} // namespace decoding

// What a walk worked out, with what it worked it out from. The values of its states point into the
// elements, pins and extra words kept here.
struct SentenceDecoder::Forward {
    struct Basis {
        std::shared_ptr<const Lexicon> lexicon;
        std::shared_ptr<const WordPairModel> wordPairs;
        double transitionWeight = 0;
        int candidateDepth = 0;
        bool learned = false;
        std::optional<std::uint64_t> revision; // of the habits, where they can tell
        bool severalElements = false;          // a word alone takes its whole habit
        friend bool operator==(const Basis&, const Basis&) = default;
    };
    // Extra words kept across walks, beyond which the memory starts afresh.
    static constexpr std::size_t extrasKept = 4096;

    Basis basis;
    std::deque<Element> elements; // a deque: growing it moves none of the texts states point into
    std::vector<DecodedSegment> pins;
    std::vector<std::vector<decoding::State>> states; // by end
    std::vector<std::string> readings;
    std::vector<char> hasLiteral;
    ExtraWords extras;
};

} // namespace kelvo
