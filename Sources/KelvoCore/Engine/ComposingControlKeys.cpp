// The keys without a character while syllables are composed: Space settles a syllable, a number or
// English; Enter commits; Escape and Backspace take back; Tab takes a hint; the arrows move the
// cursor or open the candidates.
#include "Engine/InputEngine.hpp"
#include "Text/Characters.hpp"

#include <algorithm>

namespace kelvo {

InputEngine::Output InputEngine::handleSpace() {
    // A clean syllable with a known first tone stays Chinese, as with the other tone keys.
    const bool cleanTone = cleanKnownZhuyinTone(" ");
    if (offersEnglishAtSpace(cleanTone)) {
        openBilingualSheet(std::nullopt, true);
        return handled();
    }
    if (auto output = settleKeyRun(" ", cleanTone)) return *output;
    if (automaticNumberReady()) {
        const NumberRun& run = *numberRun();
        auto keys = characterViews(run.raw);
        bool hasLetter = std::any_of(keys.begin(), keys.end(), isLetter);
        // A clean run of digits whose syllable makes a known reading with the first tone stays Chinese.
        bool staysChinese = !run.wasOverwritten && !run.wasLiteral && !hasLetter &&
                            formsKnownTone1Reading(composer().syllable());
        if (!staysChinese) {
            acceptNumber();
            insertLiteral(" ");
            return handled();
        }
    }
    if (!composer().isEmpty()) {
        if (numberHint() && !formsKnownTone1Reading(composer().syllable())) {
            acceptNumber();
            return handled();
        }
        return pressIntoComposer(" "); // Space is the first-tone key of Dachen
    }
    if (composition_.isEmpty()) return notHandled();
    cancelNumericRun();
    insertLiteral(" ");
    return handled();
}

InputEngine::Output InputEngine::handleEnter() {
    auto text = flush();
    return text ? Output{true, text} : notHandled();
}

InputEngine::Output InputEngine::handleEscape() {
    if (!composer().isEmpty()) {
        clearComposer();
        return handled();
    }
    if (composition_.isEmpty()) return notHandled();
    reset(); // the composition is discarded, nothing is committed
    return handled();
}

InputEngine::Output InputEngine::handleBackspace() {
    if (SyllableComposer* composer = mutableComposer(); composer && !composer->isEmpty()) {
        composer->backspace();
        return handled();
    }
    if (composition_.cursor() == 0) return Output{!composition_.isEmpty(), std::nullopt};
    removeElementBeforeCursor();
    return handled();
}

InputEngine::Output InputEngine::handleTab() {
    if (numberHint()) {
        acceptNumber();
        return handled();
    }
    if (auto hint = englishHint()) {
        clearComposer();
        insertLiteral(*hint); // one element for the whole word
        return handled();
    }
    if (auto keys = englishCandidateKeys()) {
        clearComposer();
        cancelNumericRun();
        insertLiteral(*keys);
        return handled();
    }
    return Output{!isIdle(), std::nullopt};
}

InputEngine::Output InputEngine::handleArrowSideways(KeyInput::Kind kind) {
    if (isIdle()) return notHandled();
    if (!settleFinishedKeys()) return handled(); // the syllable under way keeps the cursor
    composition_.moveCursor(kind == KeyInput::Kind::arrowLeft ? -1 : 1);
    return handled();
}

// Keys the composition shows as a finished English word become elements as shown, so that the
// cursor can move back past them to a word before; a syllable under way stays. Answers whether the
// composer is empty now.
bool InputEngine::settleFinishedKeys() {
    if (composer().isEmpty()) return true;
    if (englishKeysAtCursor("") != composer().rawKeys().size()) return false;
    insertComposerAsEnglish();
    return true;
}

InputEngine::Output InputEngine::handleArrowDown() {
    if (!composer().isEmpty()) {
        if (auto keys = englishCandidateKeys()) openBilingualSheet(*keys);
        return handled();
    }
    if (composition_.isEmpty()) return notHandled();
    if (!openPunctuationSheet()) openSheet();
    return handled();
}

} // namespace kelvo
