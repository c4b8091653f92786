#include "Detectors/ChineseTypingDetector.hpp"

#include "Text/Characters.hpp"

namespace kelvo {

std::optional<std::string> ChineseTypingDetector::feed(std::string_view key) {
    using Kind = SyllableComposer::PressResult::Kind;
    auto result = shadow_.press(key);
    if (result.kind == Kind::rejected) {
        reset();
        return std::nullopt;
    }
    pendingKeys_ += key;
    if (result.kind == Kind::absorbed) {
        if (characterCount(pendingKeys_) > maxPendingKeys) reset();
        return std::nullopt;
    }
    if (!isKnownReading_ || !isKnownReading_(result.syllable.canonical())) {
        reset();
        return std::nullopt;
    }
    streakKeys_ += pendingKeys_;
    pendingKeys_.clear();
    ++validStreak_;
    if (result.syllable.tone != Syllable::Tone::tone1) sawDigitTone_ = true;
    if (validStreak_ >= 2 && sawDigitTone_) {
        std::string run = std::move(streakKeys_);
        reset();
        return run;
    }
    return std::nullopt;
}

void ChineseTypingDetector::reset() {
    shadow_.clear();
    validStreak_ = 0;
    sawDigitTone_ = false;
    pendingKeys_.clear();
    streakKeys_.clear();
}

} // namespace kelvo
