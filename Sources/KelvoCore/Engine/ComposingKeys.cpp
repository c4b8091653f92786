// Printable keys while syllables are composed: the Zhuyin path from keys to reading elements, and
// the points where the keys typed so far turn out to be English, an address, a shortcut or a long
// press.
#include "Engine/EnglishRunSupport.hpp"
#include "Engine/InputEngine.hpp"
#include "Formatting/Punctuation.hpp"
#include "Text/Characters.hpp"
#include "Zhuyin/DachenLayout.hpp"

namespace kelvo {
namespace {

bool isURLScheme(std::string_view keys) {
    std::string scheme = lowercased(keys);
    return scheme == "http" || scheme == "https" || scheme == "ftp" || scheme == "file";
}

} // namespace

InputEngine::Output InputEngine::handleTypedCharacter(const std::string& c) {
    const std::string raw = composer().rawKeys();
    if (settings_.customText && c == ";" && raw == ";") {
        state_ = ShortcutBuffer{";;"}; // the first ";" was taken as the final ㄤ
        return handled();
    }
    if (c == ":" && isURLScheme(raw)) {
        state_ = LiteralRun{}; // the rest of the address is typed literally
        insertLiteralCharacters(raw + ":");
        return handled();
    }
    const bool cleanTone = cleanKnownZhuyinTone(c);
    if (auto output = settleKeyRun(c, cleanTone)) return *output;
    if (cleanTone) return handleZhuyinKey(c);

    // A key that is no letter ends English keys as a word, or holds the word for a version, a unit, a
    // domain or the syllable after it.
    if (isLetter(c) || !englishKeysAtCursor(c)) return handleZhuyinKey(c);
    cancelNumericRun();
    if (holdsEnglishOn(c)) {
        clearComposer();
        holdEnglish(raw + c);
    } else {
        insertComposerAsEnglish(c);
    }
    return handled();
}

InputEngine::Output InputEngine::handleZhuyinKey(const std::string& c) {
    if (auto output = numberEndedByPunctuation(c)) return *output;
    if (c == ".") {
        // The first "." was taken as the final ㄡ: two dots are meant.
        if (composer().rawKeys() == ".") {
            clearComposer();
            cancelNumericRun();
            insertLiteralCharacters("..");
            return handled();
        }
        const Element* before = composition_.elementBeforeCursor();
        if (composer().isEmpty() && before && *before == Element::literal(".")) {
            cancelNumericRun();
            insertLiteral(".");
            return handled();
        }
    }
    if (auto output = numberFollowedByLetter(c)) return *output;
    return pressIntoComposer(c);
}

InputEngine::Output InputEngine::pressIntoComposer(const std::string& c) {
    Composing* state = composing();
    if (!state) return notHandled(); // only while composing do keys go into a syllable
    const ComposingStep step = state->press(c);
    switch (step.change) {
    case ComposingStep::Change::absorbed:
        return handled();
    case ComposingStep::Change::composed:
        insertElement(Element::reading(step.reading), step.keys);
        return handled();
    case ComposingStep::Change::digit:
        insertLiteral(c);
        return handled();
    case ComposingStep::Change::rejected:
        break;
    }
    // A key that cannot continue the syllable settles it as it is shown, so that no key is lost.
    if (step.keysPending) {
        std::string shown = pendingText();
        clearComposer();
        insertLiteralCharacters(shown);
    }
    if (settings_.typesChinesePunctuation()) {
        if (auto mark = Punctuation::fullWidth(c)) {
            insertLiteral(*mark);
            return handled();
        }
    }
    if (composition_.isEmpty()) return notHandled();
    // The composition is committed and the key itself still reaches the client.
    return Output{false, flush()};
}

InputEngine::Output InputEngine::handleEnglishLiteral(const std::string& c) {
    const std::string raw = composer().rawKeys();
    // The keys before it end as the English they spell or as they are shown, none lost.
    if (!raw.empty()) {
        const std::string shown = englishKeysAtCursor("") ? formattedEnglish(raw) : pendingText();
        clearComposer();
        insertLiteralCharacters(shown);
    }
    startLiteralRun();
    insertLiteral(c);
    return handled();
}

InputEngine::Output InputEngine::handleLongPress(const std::string& c) {
    if (longPressKey_ == c) return handled();
    SyllableComposer& composer = *mutableComposer();
    auto component = DachenLayout::component(c);
    if (composer.rawKeys().ends_with(c) && component && !isTone(*component)) {
        composer.backspace(); // undoes the component the first press added
        insertLiteral(c);
        longPressKey_ = c;
        if (isLetter(c)) state_ = LiteralRun{composer};
        return handled();
    }
    return Output{!isIdle(), std::nullopt};
}

} // namespace kelvo
