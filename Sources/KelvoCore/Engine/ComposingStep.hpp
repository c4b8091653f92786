#pragma once

#include <string>

namespace kelvo {

// What a key pressed into the syllable being typed did: the composer took it, it ended a syllable,
// it is a digit the composer refused, or it cannot continue what is typed. The composing state
// decides and keeps its number run in step; the engine carries it out on the composition.
struct ComposingStep {
    enum class Change { absorbed, composed, digit, rejected };
    Change change = Change::absorbed;
    std::string reading;      // composed: the syllable's reading
    std::string keys;         // composed: the keys that typed it
    bool keysPending = false; // rejected: the composer holds keys, which settle as shown

    static ComposingStep composed(std::string reading, std::string keys) {
        return {Change::composed, std::move(reading), std::move(keys), false};
    }
    static ComposingStep digit() { return {Change::digit, {}, {}, false}; }
    static ComposingStep rejected(bool keysPending) { return {Change::rejected, {}, {}, keysPending}; }
};

} // namespace kelvo
