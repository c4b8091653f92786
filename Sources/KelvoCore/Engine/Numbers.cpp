// Digits typed on the Zhuyin keys recognised as numbers, long press turning a held key into its own
// character, and text shortcuts typed as ";;" and a key.
#include "Engine/EnglishRunSupport.hpp"
#include "Engine/InputEngine.hpp"
#include "Text/Characters.hpp"
#include "Zhuyin/DachenLayout.hpp"

#include <algorithm>
#include <unordered_set>

namespace kelvo {
namespace {

constexpr std::size_t longestShortcutBuffer = 34; // ";;" and a 32-character trigger

bool isShortcutKey(std::string_view c) {
    return isASCII(c) && (isLetter(c) || isNumber(c) || c == "_" || c == "-");
}

} // namespace

const std::unordered_set<std::string_view>& unitSuffixes() {
    static const std::unordered_set<std::string_view> suffixes = {
        "mm",  "cm",  "dm",  "m",   "km",  "nm", "um", "in",  "ft",  "yd",   "mil",  "g",  "kg", "mg",  "t",
        "lb",  "oz",  "ml",  "cc",  "gal", "s",  "ms", "ns",  "us",  "min",  "h",    "hr", "hz", "khz", "mhz",
        "ghz", "rpm", "bpm", "fps", "v",   "mv", "kv", "a",   "ma",  "w",    "kw",   "mw", "wh", "kwh", "ah",
        "mah", "ohm", "b",   "kb",  "mb",  "gb", "tb", "bit", "bps", "mbps", "gbps", "c",  "f",  "deg", "rad",
        "bar", "psi", "pa",  "kpa", "mpa", "px", "pt", "dpi", "ppi", "x",    "n"};
    return suffixes;
}

std::optional<std::string> InputEngine::numberHint() const {
    const std::string& raw = state_.numericRaw;
    auto characters = characterViews(raw);
    if (std::none_of(characters.begin(), characters.end(), isNumber)) return std::nullopt;
    auto firstLetter = std::find_if(characters.begin(), characters.end(), isLetter);
    if (firstLetter == characters.end()) return raw;
    std::string unit = lowercased(raw.substr(static_cast<std::size_t>(firstLetter->data() - raw.data())));
    if (unitSuffixes().contains(unit)) return raw;
    return std::nullopt;
}

bool InputEngine::automaticNumberReady() const {
    if (!automaticNumbersEnabled || state_.cursor != static_cast<int>(state_.elements.size())) return false;
    auto hint = numberHint();
    if (!hint) return false;
    auto hintCharacters = characterViews(*hint);
    if (std::any_of(hintCharacters.begin(), hintCharacters.end(), isLetter)) return true;
    if (state_.numericWasOverwritten || state_.numericWasLiteral || !state_.composer.isEmpty()) return true;
    // While every syllable the digits made is a real reading, the keys are taken as Chinese.
    return producedUnknownReading();
}

bool InputEngine::producedUnknownReading() const {
    const int count = static_cast<int>(state_.elements.size());
    for (int i = std::max(count - state_.numericElements, 0); i < count; ++i) {
        const Element& element = state_.elements[i];
        if (element.isReading() && lexicon_->unigrams(element.text).empty()) return true;
    }
    return false;
}

void InputEngine::trackNumeric(const std::string& c, bool composerWasEmpty) {
    if (!state_.numericRaw.empty()) {
        if (isLetter(c) || isNumber(c) || c == "." || c == "," || c == "-")
            state_.numericRaw += c;
        else
            cancelNumericRun();
    } else if (composerWasEmpty && isNumber(c)) {
        state_.numericRaw = c;
    }
}

void InputEngine::cancelNumericRun() {
    state_.numericRaw.clear();
    state_.numericElements = 0;
    state_.numericWasOverwritten = false;
    state_.numericWasLiteral = false;
}

void InputEngine::acceptNumber() {
    auto hint = numberHint();
    if (!hint) return;
    clearComposer();
    for (int n = std::min(state_.cursor, state_.numericElements); n > 0; --n)
        removeElement(state_.cursor - 1);
    insertLiteralCharacters(*hint);
    cancelNumericRun();
}

InputEngine::Output InputEngine::retypeNumberWithoutLastKey() {
    auto keys = characters(state_.numericRaw);
    if (!keys.empty()) keys.pop_back();
    clearComposer();
    for (int n = std::min(state_.cursor, state_.numericElements); n > 0; --n)
        removeElement(state_.cursor - 1);
    cancelNumericRun();
    for (const std::string& key : keys)
        handleCharacter(key);
    return handled();
}

InputEngine::Output InputEngine::handleLongPress(const std::string& c) {
    if (longPressKey_ == c) return handled();
    const std::string& raw = state_.composer.rawKeys();
    auto component = DachenLayout::component(c);
    if (raw.ends_with(c) && component && !isTone(*component)) {
        state_.composer.backspace();
        insertLiteral(c);
        longPressKey_ = c;
        if (isLetter(c)) state_.isInLiteralRun = true;
        return handled();
    }
    return Output{!isIdle(), std::nullopt};
}

InputEngine::MaybeOutput InputEngine::handleCustomText(const KeyInput& key) {
    if (!state_.customTextBuffer) return std::nullopt;
    std::string& buffer = *state_.customTextBuffer;
    auto release = [&]() -> MaybeOutput {
        std::string text = std::move(buffer);
        state_.customTextBuffer.reset();
        insertLiteralCharacters(text);
        return std::nullopt;
    };
    if (!customTextEnabled) return release();
    switch (key.kind) {
    case KeyInput::Kind::character:
    case KeyInput::Kind::englishLiteral:
        if (isShortcutKey(key.character) && characterCount(buffer) < longestShortcutBuffer) {
            buffer += key.character;
            return handled();
        }
        return release();
    case KeyInput::Kind::space: {
        std::string text = std::move(buffer) + " ";
        state_.customTextBuffer.reset();
        insertLiteralCharacters(text);
        return handled();
    }
    case KeyInput::Kind::enter: {
        auto text = flush();
        return text ? Output{true, text} : notHandled();
    }
    case KeyInput::Kind::escape:
        state_.customTextBuffer.reset();
        return handled();
    case KeyInput::Kind::backspace: {
        std::string rest = buffer.substr(0, buffer.size() - 1); // the buffer holds ASCII keys only
        if (rest.size() > 1) {
            buffer = std::move(rest);
        } else {
            state_.customTextBuffer.reset();
            insertLiteralCharacters(rest);
        }
        return handled();
    }
    case KeyInput::Kind::tab: {
        if (!customTexts) return handled();
        auto expansion = customTexts->expansion(std::string_view(buffer).substr(2));
        if (!expansion) return handled();
        state_.customTextBuffer.reset();
        insertLiteral(*expansion);
        return handled();
    }
    default:
        return release();
    }
}

} // namespace kelvo
