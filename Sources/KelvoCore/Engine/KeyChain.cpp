// The one place that decides which state owns a key. In this order:
//  1. a text shortcut being typed takes every key; one it cannot hold releases the buffer as
//     literal text and goes on;
//  2. held English takes every key; Tab and the arrows settle it and go on;
//  3. Backspace on a ready number retypes the number without its last key;
//  4. housekeeping for every key that got this far: a long press ends, keys that cannot be part
//     of a number end the number run, and a sideways arrow takes a number shown as one;
//  5. an open bilingual list, then an open candidate list: a key either does not use closes it and
//     goes on as if no list had been open;
//  6. the literal run, for the keys it takes literally or that end it;
//  7. the key itself while syllables are composed.
// Handlers never call back into this chain; a handler that closes its state answers nothing so that
// the key goes on to the next step.
#include "Engine/InputEngine.hpp"

namespace kelvo {

InputEngine::Output InputEngine::handle(const KeyInput& key) {
    presentation_.reset();
    // What other processes learned, or this one's saves merged, arrives between keys.
    if (userPhrases_) userPhrases_->refresh();
    MaybeOutput output;
    if (std::holds_alternative<ShortcutBuffer>(state_)) output = handleInShortcutBuffer(key);
    if (!output && std::holds_alternative<HeldEnglish>(state_)) output = handleInHeldEnglish(key);
    if (!output && key.kind == KeyInput::Kind::backspace && automaticNumberReady())
        output = retypeNumberWithoutLastKey();
    if (!output) {
        doHousekeeping(key);
        if (std::holds_alternative<BilingualSheet>(state_)) output = handleInBilingual(key);
        if (!output && std::holds_alternative<CandidateSheet>(state_)) output = handleInSheet(key);
        if (!output && std::holds_alternative<LiteralRun>(state_)) output = handleInLiteralRun(key);
        if (!output) output = handleByKind(key);
    }
    presentation_.reset();
    return *output;
}

void InputEngine::doHousekeeping(const KeyInput& key) {
    if (key.kind != KeyInput::Kind::repeatedCharacter) longPressKey_.reset();
    switch (key.kind) {
    case KeyInput::Kind::character: // letters and digits may continue a number
    case KeyInput::Kind::space:     // Space, Enter and Tab settle it instead
    case KeyInput::Kind::enter:
    case KeyInput::Kind::tab:
        break;
    case KeyInput::Kind::arrowLeft: // the cursor moves past a number as shown
    case KeyInput::Kind::arrowRight:
        if (composing() && automaticNumberReady())
            acceptNumber();
        else
            cancelNumericRun();
        break;
    default:
        cancelNumericRun();
    }
}

InputEngine::Output InputEngine::handleByKind(const KeyInput& key) {
    switch (key.kind) {
    case KeyInput::Kind::character:
        return handleTypedCharacter(key.character);
    case KeyInput::Kind::repeatedCharacter:
        return handleLongPress(key.character);
    case KeyInput::Kind::englishLiteral:
        return handleEnglishLiteral(key.character);
    case KeyInput::Kind::space:
        return handleSpace();
    case KeyInput::Kind::enter:
        return handleEnter();
    case KeyInput::Kind::escape:
        return handleEscape();
    case KeyInput::Kind::backspace:
        return handleBackspace();
    case KeyInput::Kind::tab:
        return handleTab();
    case KeyInput::Kind::arrowLeft:
    case KeyInput::Kind::arrowRight:
        return handleArrowSideways(key.kind);
    case KeyInput::Kind::arrowDown:
        return handleArrowDown();
    case KeyInput::Kind::arrowUp:
    case KeyInput::Kind::pageUp:
    case KeyInput::Kind::pageDown:
        return Output{!isIdle(), std::nullopt}; // swallowed while composing
    }
    return notHandled();
}

} // namespace kelvo
