#pragma once

#include "Zhuyin/SyllableComposer.hpp"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace kelvo {

// Watches keys typed in English mode and recognises when they were Zhuyin: at least two complete
// syllables in a row with readings in the dictionary, one of them finished with a digit tone key,
// with no rejected key and no unknown syllable in between.
class ChineseTypingDetector {
public:
    using KnownReading = std::function<bool(std::string_view canonicalReading)>;

    static constexpr std::size_t maxPendingKeys = 12;

    explicit ChineseTypingDetector(KnownReading isKnownReading)
        : isKnownReading_(std::move(isKnownReading)) {}

    // The keys of the detected run, the last one included, when this key completes a detection.
    std::optional<std::string> feed(std::string_view key);
    void reset();
    bool isTracking() const { return !pendingKeys_.empty() || !streakKeys_.empty(); }

private:
    SyllableComposer shadow_;
    int validStreak_ = 0;
    bool sawDigitTone_ = false;
    std::string pendingKeys_; // keys of the syllable being composed
    std::string streakKeys_;  // keys of the complete syllables of the current streak
    KnownReading isKnownReading_;
};

} // namespace kelvo
