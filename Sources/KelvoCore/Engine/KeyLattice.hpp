#pragma once

#include "Engine/KeyRunScorer.hpp"

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvo {

// One stretch of the best reading of typed keys: an English word (with any version tail), a number
// (digits with at most one decimal point, perhaps a unit), the Space that ends either, or one Zhuyin
// syllable ended by its tone key.
struct KeySegment {
    enum class Kind { english, number, space, syllable };
    Kind kind = Kind::syllable;
    std::size_t start = 0, end = 0; // key positions
    std::string reading;            // a syllable's canonical reading; empty when it composes none known

    bool spellsNoKnownSyllable() const { return kind == Kind::syllable && reading.empty(); }
};

// English words and numbers stand as the keys typed, one character each: a syllable right after one
// needs its keys in the layout's order, and a Space may end one.
inline bool isTypedAsKeys(KeySegment::Kind kind) {
    return kind == KeySegment::Kind::english || kind == KeySegment::Kind::number;
}

// A key the lattice reads: a Zhuyin key, a digit or a decimal point.
bool isLatticeKey(std::string_view key);

struct KeyPath {
    std::vector<KeySegment> segments;
    double score = 0;
    // The part of the score that says how likely the syllables are as Chinese: what a reading of
    // them into words may tell better.
    double syllableScore = 0;

    bool readsANumber() const {
        return std::any_of(segments.begin(), segments.end(), [](const KeySegment& segment) {
            return segment.kind == KeySegment::Kind::number;
        });
    }
};

// The keys typed since the last settled text, read at every key position at once: each position may
// start an English word, a number, a syllable or the Space after a word or number, and the likeliest
// path through the whole stretch wins. English words are scored by the vocabulary (or their
// spelling when unlisted), numbers by how often Chinese text holds them, syllables by the dictionary
// in the context of the syllable before, on one log10 scale with a penalty for each switch into
// English.
class KeyLattice {
public:
    struct Stretch {
        std::string_view keys;
        bool startsHeld = false;       // the first keys were already taken as English or digits: no syllable
        bool endsWithSyllable = false; // the last tone key must end a syllable
        std::optional<std::string> previousReading; // the syllable before the stretch
        // The keys after the last tone key may be a syllable still without its tone, as likely as
        // the likeliest syllable a tone key would make of them; otherwise each syllable needs one.
        bool openEnd = false;
    };

    explicit KeyLattice(const KeyRunScorer& scorer) : scorer_(scorer) {}

    // The likeliest reading of the whole stretch; absent when no path spans it.
    std::optional<KeyPath> best(const Stretch& stretch) const;
    // The `count` likeliest readings, likeliest first.
    std::vector<KeyPath> likeliest(const Stretch& stretch, std::size_t count) const;

private:
    const KeyRunScorer& scorer_;
};

} // namespace kelvo
