// What each key does: the order in which the engine consults its modes, and the keys without a
// character in every state.
#include "Engine/InputEngine.hpp"
#include "Text/Characters.hpp"

namespace kelvo {

InputEngine::Output InputEngine::handle(const KeyInput& key) {
    if (auto output = handleCustomText(key)) return *output;
    if (customTextEnabled && key == KeyInput::typed(";") && state_.composer.rawKeys() == ";") {
        clearComposer();
        cancelNumericRun();
        state_.customTextBuffer = ";;";
        return handled();
    }
    if (auto output = handleBufferedEnglish(key)) return *output;
    if (key.kind == KeyInput::Kind::backspace && automaticNumberReady()) return retypeNumberWithoutLastKey();
    doHousekeeping(key);
    if (state_.bilingual)
        if (auto output = handleInBilingual(key)) return *output;
    if (state_.sheet)
        if (auto output = handleInSheet(key)) return *output;

    switch (key.kind) {
    case KeyInput::Kind::character:
        return handleTypedCharacter(key.character);
    case KeyInput::Kind::repeatedCharacter:
    case KeyInput::Kind::englishLiteral:
        return handleRepeatedOrEnglishLiteral(key);
    default:
        return handleKeyWithoutPayload(key.kind);
    }
}

void InputEngine::doHousekeeping(const KeyInput& key) {
    switch (key.kind) {
    case KeyInput::Kind::repeatedCharacter:
        cancelNumericRun();
        break;
    case KeyInput::Kind::character:
        longPressKey_.reset();
        break;
    case KeyInput::Kind::englishLiteral:
        longPressKey_.reset();
        cancelNumericRun();
        break;
    case KeyInput::Kind::space:
    case KeyInput::Kind::enter:
    case KeyInput::Kind::tab:
        longPressKey_.reset();
        break;
    default:
        longPressKey_.reset();
        cancelNumericRun();
    }
}

InputEngine::Output InputEngine::handleTypedCharacter(const std::string& c) {
    if (state_.isInLiteralRun) {
        insertLiteral(c);
        return handled();
    }
    const std::string& raw = state_.composer.rawKeys();
    if (c == ":") {
        std::string scheme = lowercased(raw);
        if (scheme == "http" || scheme == "https" || scheme == "ftp" || scheme == "file") {
            std::string typed = raw + ":";
            clearComposer();
            cancelNumericRun();
            insertLiteralCharacters(typed);
            state_.isInLiteralRun = true;
            return handled();
        }
    }
    if (cleanKnownZhuyinTone(c)) return handleCharacter(c);

    // English runs: the keys typed so far may be English, or English and one Chinese syllable.
    const std::string r = raw;
    std::optional<int> prefix = englishPrefixLength(r);
    if (prefix && acceptChineseSuffix(r, *prefix, c)) return handled();
    if (acceptUnlistedEnglishBeforeChinese(c)) return handled();
    if (isLetter(c)) return handleCharacter(c);
    int boundary = 0;
    if (prefix)
        boundary = *prefix;
    else if (!isUnlistedEnglish())
        return handleCharacter(c);
    else
        boundary = static_cast<int>(characterCount(r));
    if (acceptChineseSuffix(r, boundary, c)) return handled();
    bool holdsOn =
        isASCII(c) && (isDecimalDigit(c) || c == "," || c == "." || c == "-" || c == ";" || c == "/");
    clearComposer();
    if (!holdsOn) {
        insertLiteralCharacters(formattedEnglish(r, boundary) + c);
    } else {
        state_.automaticEnglishBuffer = r + c;
        state_.automaticEnglishBoundary = boundary;
    }
    cancelNumericRun();
    return handled();
}

InputEngine::Output InputEngine::handleRepeatedOrEnglishLiteral(const KeyInput& key) {
    const std::string& c = key.character;
    if (key.kind == KeyInput::Kind::repeatedCharacter) {
        if (!state_.isInLiteralRun) return handleLongPress(c);
        if (longPressKey_ != c) insertLiteral(c);
        return handled();
    }
    std::string raw = state_.composer.rawKeys();
    if (auto prefix = englishPrefixLength(raw)) insertLiteralCharacters(formattedEnglish(raw, *prefix));
    clearComposer();
    insertLiteral(c);
    state_.isInLiteralRun = true;
    return handled();
}

InputEngine::Output InputEngine::handleKeyWithoutPayload(KeyInput::Kind kind) {
    switch (kind) {
    case KeyInput::Kind::space:
        return handleSpace();
    case KeyInput::Kind::enter: {
        auto text = flush();
        return text ? Output{true, text} : notHandled();
    }
    case KeyInput::Kind::escape:
        return handleEscape();
    case KeyInput::Kind::backspace:
        return handleBackspace();
    case KeyInput::Kind::tab:
        return handleTab();
    case KeyInput::Kind::arrowLeft:
    case KeyInput::Kind::arrowRight: {
        state_.isInLiteralRun = false;
        if (isIdle()) return notHandled();
        if (!state_.composer.isEmpty()) return handled();
        int count = static_cast<int>(state_.elements.size());
        state_.cursor = kind == KeyInput::Kind::arrowLeft ? std::max(state_.cursor - 1, 0)
                                                          : std::min(state_.cursor + 1, count);
        return handled();
    }
    case KeyInput::Kind::arrowDown:
        return handleArrowDown();
    default: // arrowUp, pageUp, pageDown: swallowed while composing
        return Output{!isIdle(), std::nullopt};
    }
}

InputEngine::Output InputEngine::handleSpace() {
    if (state_.isInLiteralRun) {
        insertLiteral(" ");
        return handled();
    }
    const std::string r = state_.composer.rawKeys();
    if (automaticEnglishEnabled && englishHintEnabled && (r == "a" || (r == "i" && hasEnglishContext()))) {
        clearComposer();
        insertLiteralCharacters(r + " ");
        cancelNumericRun();
        return handled();
    }
    std::optional<int> prefix = englishPrefixLength(r);
    if (prefix && acceptChineseSuffix(r, *prefix, " ")) return handled();
    if (acceptUnlistedEnglishBeforeChinese(" ")) return handled();
    bool numberGoesOn = false;
    if (automaticNumberReady()) {
        bool clean = !state_.numericWasOverwritten && !state_.numericWasLiteral;
        bool hasLetter = false;
        for (std::string_view c : characterViews(state_.numericRaw))
            hasLetter = hasLetter || isLetter(c);
        numberGoesOn = clean && formsKnownTone1Reading(state_.composer.syllable()) && !hasLetter;
        if (!numberGoesOn) {
            acceptNumber();
            insertLiteral(" ");
            return handled();
        }
    }
    if (prefix || isUnlistedEnglish()) {
        int boundary = prefix ? *prefix : static_cast<int>(characterCount(r));
        clearComposer();
        insertLiteralCharacters(formattedEnglish(r, boundary) + " ");
        cancelNumericRun();
        return handled();
    }
    if (!state_.composer.isEmpty()) {
        if (englishHint()) {
            openBilingualSheet(std::nullopt);
            return handled();
        }
        if (numberHint() && !formsKnownTone1Reading(state_.composer.syllable())) {
            acceptNumber();
            return handled();
        }
        return handleCharacter(" ");
    }
    if (state_.elements.empty()) return notHandled();
    cancelNumericRun();
    insertLiteral(" ");
    return handled();
}

InputEngine::Output InputEngine::handleEscape() {
    if (state_.isInLiteralRun) {
        state_.isInLiteralRun = false;
        return handled();
    }
    if (!state_.composer.isEmpty()) {
        clearComposer();
        return handled();
    }
    if (state_.elements.empty()) return notHandled();
    reset();
    return handled();
}

InputEngine::Output InputEngine::handleBackspace() {
    if (!state_.composer.isEmpty()) {
        state_.composer.backspace();
        return handled();
    }
    if (state_.cursor == 0) return Output{!state_.elements.empty(), std::nullopt};
    removeElement(state_.cursor - 1);
    if (state_.isInLiteralRun &&
        (state_.cursor == 0 || state_.elements[state_.cursor - 1].kind != Element::Kind::literal))
        state_.isInLiteralRun = false;
    return handled();
}

InputEngine::Output InputEngine::handleTab() {
    if (numberHint()) {
        acceptNumber();
        return handled();
    }
    if (auto hint = englishHint()) {
        clearComposer();
        insertLiteral(*hint);
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

InputEngine::Output InputEngine::handleArrowDown() {
    state_.isInLiteralRun = false;
    if (!state_.composer.isEmpty()) {
        if (auto keys = englishCandidateKeys()) openBilingualSheet(*keys);
        return handled();
    }
    if (state_.elements.empty()) return notHandled();
    if (!openPunctuationSheet()) openSheet();
    return handled();
}

} // namespace kelvo
