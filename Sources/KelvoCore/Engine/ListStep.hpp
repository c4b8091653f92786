#pragma once

namespace kelvo {

// What a key does to an open list: it moves within the list (the list's own data), chooses an
// entry, or closes the list; `typeOn` takes the entry a Space offered and lets the key go on.
struct ListStep {
    enum class Change { stay, choose, close, typeOn };
    Change change = Change::stay;
    int chosen = 0;       // choose: the entry's index
    bool keyTaken = true; // close: false when the key then goes on through the engine

    static ListStep stay() { return {}; }
    static ListStep choose(int index) { return {Change::choose, index, true}; }
    static ListStep close(bool keyTaken) { return {Change::close, 0, keyTaken}; }
};

} // namespace kelvo
