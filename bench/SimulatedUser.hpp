#pragma once

#include "Engine/InputEngine.hpp"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kelvo::bench {

// One clause of an evaluation file: the text and the keys that type it.
struct Clause {
    std::string text;
    std::string keys;
};

// What typing one clause cost.
struct ClauseResult {
    bool rightAsTyped = false;
    bool failed = false; // no useful candidate could fix it
    int corrections = 0;
    int keys = 0;      // typing, corrections and Enter
    int floorKeys = 0; // the clause's keys and Enter
    std::string typed; // what the keys alone would have committed
    std::string committed;
};

// The figures of one pass over a file.
struct PassFigures {
    int clauses = 0;
    int rightAsTyped = 0;
    int failedClauses = 0;
    long corrections = 0;
    long keys = 0;
    long floorKeys = 0;
    long characters = 0;   // of the references, white space aside
    long editDistance = 0; // committed text against the references, white space aside

    void add(const ClauseResult& result, const std::string& reference);
    double correctionsPer100Characters() const;
    double keysPerCharacter() const;
    double floorKeysPerCharacter() const;
    double committedCharacterAccuracy() const;
};

// A user who types each clause, corrects it from the candidate lists and presses Enter, as the
// simulated user of the evaluation protocol does. It works through the engine's public interface
// alone: the keys, the marked text, and the candidate lists (where each candidate starts and how
// long it is, as a panel knows). Lists are looked at in copies of the engine, so looking changes
// neither the engine nor what it learned. Text is compared with white space set aside and letters
// in any case: the keys type neither, formatting and the vocabulary decide them.
class SimulatedUser {
public:
    explicit SimulatedUser(InputEngine& engine) : engine_(engine) {}

    ClauseResult type(const Clause& clause);

    // The cheapest correction that fixes the first wrong character of the marked text: the keys
    // that reach it (from a copy of the engine) and how far it fixes the text. `chosen` holds the
    // stretches chosen before in the clause, as character ranges: a correction overlapping one is
    // taken only when there is no other.
    struct Correction {
        std::vector<KeyInput> keys;
        int start = 0; // characters, white space aside
        int end = 0;
    };
    std::optional<Correction> correction(const std::vector<std::string>& reference,
                                         const std::vector<std::pair<int, int>>& chosen) const;

private:
    // The text Enter would commit now.
    std::string committedNow() const;

    InputEngine& engine_;
};

// The characters of a text as they are compared: white space left out, letters in lower case.
std::vector<std::string> comparableCharacters(const std::string& text);

} // namespace kelvo::bench
