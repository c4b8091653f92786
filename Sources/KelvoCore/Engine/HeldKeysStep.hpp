#pragma once

#include <string>

namespace kelvo {

// What a state that holds typed keys back (a text shortcut, English before its version) makes of
// one key: it holds on to keys, releases them as text, expands them, drops them, or leaves the key
// to the commit. The state decides; the engine carries it out.
struct HeldKeysStep {
    enum class Change { hold, release, expand, discard, commit };
    Change change = Change::hold;
    std::string keys;       // hold: the keys now held; release: the keys let go; expand: the text
    std::string followedBy; // release: what the key itself adds after them (a Space, a mark)
    bool keyTaken = true;   // false: the key then goes on through the engine

    static HeldKeysStep hold(std::string keys) { return {Change::hold, std::move(keys), {}, true}; }
    static HeldKeysStep release(std::string keys, std::string followedBy, bool keyTaken) {
        return {Change::release, std::move(keys), std::move(followedBy), keyTaken};
    }
};

} // namespace kelvo
