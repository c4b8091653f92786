#pragma once

#include "Engine/HeldKeysStep.hpp"
#include "Engine/KeyInput.hpp"

#include <string>

namespace kelvo {

class CustomTextStore;

// A text shortcut being typed, ";;" included: Tab expands it, Space or a key it cannot hold releases
// it as the text typed, Escape drops it.
struct ShortcutBuffer {
    std::string keys;

    // What `key` does to the buffer, with shortcuts on or off and the user's shortcuts, if any.
    HeldKeysStep take(const KeyInput& key, bool shortcutsOn, const CustomTextStore* texts) const;

    friend bool operator==(const ShortcutBuffer&, const ShortcutBuffer&) = default;
};

} // namespace kelvo
