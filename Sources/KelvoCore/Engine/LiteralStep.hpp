#pragma once

#include <string>

namespace kelvo {

// What a key does to a literal run: nothing, text typed as it is, the end of the run (the key taken,
// or going on to act on the composition), taking back the literal before the cursor, or going on as
// while composing. The run decides; the engine carries it out.
struct LiteralStep {
    enum class Change { stay, insert, end, takeBack, goOn };
    Change change = Change::stay;
    std::string text;     // insert: the text typed
    bool keyTaken = true; // end: false when the key then acts on the composition

    static LiteralStep insert(std::string text) { return {Change::insert, std::move(text), true}; }
    static LiteralStep end(bool keyTaken) { return {Change::end, {}, keyTaken}; }
    static LiteralStep of(Change change) { return {change, {}, true}; }
};

} // namespace kelvo
