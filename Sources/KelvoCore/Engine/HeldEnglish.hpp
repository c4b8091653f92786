#pragma once

#include "Engine/HeldKeysStep.hpp"
#include "Engine/KeyInput.hpp"

#include <string>

namespace kelvo {

// English keys held back while digits or separators follow them (a version, a unit, a domain), until
// a key decides what they become. A syllable after them is the lattice's to read, before `take`.
struct HeldEnglish {
    std::string keys;

    // What `key` does to the held keys when it starts no syllable after them.
    HeldKeysStep take(const KeyInput& key) const;

    friend bool operator==(const HeldEnglish&, const HeldEnglish&) = default;
};

} // namespace kelvo
