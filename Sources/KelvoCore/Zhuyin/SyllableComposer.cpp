#include "Zhuyin/SyllableComposer.hpp"

#include "Zhuyin/DachenLayout.hpp"

#include <algorithm>

namespace kelvo {

std::optional<SyllableComposer> SyllableComposer::afterKeys(std::string_view keys) {
    SyllableComposer composer;
    for (std::size_t i = 0; i < keys.size(); ++i)
        if (composer.press(keys.substr(i, 1)).kind != PressResult::Kind::absorbed) return std::nullopt;
    return composer;
}

SyllableComposer::PressResult SyllableComposer::press(std::string_view character) {
    auto component = DachenLayout::component(character);
    if (!component) return PressResult::rejected();

    if (const auto* tone = std::get_if<Syllable::Tone>(&*component)) {
        if (syllable_.isEmpty()) return PressResult::rejected();
        Syllable finished = syllable_;
        finished.tone = *tone;
        clear();
        return PressResult::composed(finished);
    }

    if (const auto* initial = std::get_if<Syllable::Initial>(&*component)) {
        syllable_.initial = *initial;
        place(Slot::initial);
    } else if (const auto* medial = std::get_if<Syllable::Medial>(&*component)) {
        syllable_.medial = *medial;
        place(Slot::medial);
    } else {
        syllable_.final = std::get<Syllable::Final>(*component);
        place(Slot::final);
    }
    rawKeys_ += character;
    return PressResult::absorbed();
}

void SyllableComposer::place(Slot slot) {
    if (std::find(slotOrder_.begin(), slotOrder_.end(), slot) != slotOrder_.end())
        ++overwriteCount_;
    else
        slotOrder_.push_back(slot);
}

bool SyllableComposer::backspace() {
    if (rawKeys_.empty()) {
        clear();
        return false;
    }
    // Only layout keys are accepted, and each is one byte, so the last key is the last byte.
    std::string remaining = rawKeys_.substr(0, rawKeys_.size() - 1);
    clear();
    for (char key : remaining)
        press(std::string_view(&key, 1));
    return true;
}

void SyllableComposer::clear() {
    syllable_ = {};
    rawKeys_.clear();
    overwriteCount_ = 0;
    slotOrder_.clear();
}

} // namespace kelvo
