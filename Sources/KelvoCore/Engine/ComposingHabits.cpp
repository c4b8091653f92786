#include "Engine/ComposingHabits.hpp"

#include "PersonalData/UserPhraseStore.hpp"

#include <algorithm>

namespace kelvo {

double ComposingHabits::bonus(std::string_view reading, std::string_view value) const {
    const double learned = learned_->bonus(reading, value);
    const bool chosenHere = std::any_of(pins_.begin(), pins_.end(), [&](const DecodedSegment& pin) {
        return pin.value == value && pin.reading && *pin.reading == reading;
    });
    return chosenHere ? std::max(learned, UserPhraseStore::choiceBonus(1)) : learned;
}

} // namespace kelvo
