#pragma once

#include "Zhuyin/Syllable.hpp"

#include <string>
#include <string_view>
#include <vector>

namespace kelvo {

// Collects the components of the syllable being typed, key by key on the Dachen layout, and hands
// out the finished syllable when a tone key arrives.
class SyllableComposer {
public:
    // The answer to one key.
    struct PressResult {
        enum class Kind { composed, absorbed, rejected };
        Kind kind = Kind::rejected;
        Syllable syllable; // the finished syllable, tone included; only for `composed`

        static PressResult composed(Syllable syllable) { return {Kind::composed, syllable}; }
        static PressResult absorbed() { return {Kind::absorbed, {}}; }
        static PressResult rejected() { return {Kind::rejected, {}}; }
        friend bool operator==(const PressResult&, const PressResult&) = default;
    };

    enum class Slot { initial, medial, final };

    PressResult press(std::string_view character);
    // A composer that took each of `keys` into a slot; none when one of them was no such key.
    static std::optional<SyllableComposer> afterKeys(std::string_view keys);
    // Undoes the last accepted key by replaying the others; false when there was none.
    bool backspace();
    void clear();

    bool isEmpty() const { return syllable_.isEmpty(); }
    std::string display() const { return syllable_.display(); }
    const Syllable& syllable() const { return syllable_; }
    const std::string& rawKeys() const { return rawKeys_; }
    int overwriteCount() const { return overwriteCount_; }
    const std::vector<Slot>& slotOrder() const { return slotOrder_; }

    friend bool operator==(const SyllableComposer&, const SyllableComposer&) = default;

private:
    void place(Slot slot);

    Syllable syllable_;           // its tone is always absent
    std::string rawKeys_;         // the keys accepted into the current syllable, in typing order
    int overwriteCount_ = 0;      // accepted keys that replaced an already filled component
    std::vector<Slot> slotOrder_; // slots in the order in which they were first filled
};

} // namespace kelvo
