// The composition: the Zhuyin path from keys to reading elements, and the editing primitives that
// keep elements, keys, pins, explicitly cased indices, cursor and the decoded sentence in step.
#include "Engine/InputEngine.hpp"
#include "Formatting/Punctuation.hpp"
#include "Text/Characters.hpp"
#include "Zhuyin/DachenLayout.hpp"

#include <algorithm>

namespace kelvo {

InputEngine::InputEngine(std::shared_ptr<const Lexicon> lexicon)
    : lexicon_(lexicon), decoder_(std::move(lexicon)) {}

bool InputEngine::isIdle() const {
    return state_.elements.empty() && state_.composer.isEmpty() && !state_.automaticEnglishBuffer &&
           !state_.customTextBuffer;
}

InputEngine::Output InputEngine::handleCharacter(const std::string& c) {
    // A number ended by punctuation that is no tone key.
    if (automaticNumberReady() && characterCount(state_.numericRaw) >= 2 && !isLetter(c) && !isNumber(c) &&
        c != "." && c != "," && c != "-") {
        auto component = DachenLayout::component(c);
        // ";" and "/" are also the finals ㄤ and ㄥ. After digits that made only real syllables (a
        // unit letter or a pending key proves nothing: 至上 is typed 5 4 g ; 4) they go on spelling
        // Chinese; only an overwrite, a literal digit or an unknown syllable shows that digits were
        // meant.
        bool spellsZhuyin = component && !state_.numericWasOverwritten && !state_.numericWasLiteral &&
                            !producedUnknownReading();
        if ((!component || !isTone(*component)) && !spellsZhuyin) {
            acceptNumber();
            insertLiteral(c);
            return handled();
        }
    }
    if (c == ".") {
        // The first "." was taken as the final ㄡ: two dots are meant.
        if (state_.composer.rawKeys() == ".") {
            clearComposer();
            cancelNumericRun();
            insertLiteralCharacters("..");
            return handled();
        }
        if (state_.composer.isEmpty() && state_.cursor >= 1 &&
            state_.elements[state_.cursor - 1] == Element::literal(".")) {
            cancelNumericRun();
            insertLiteral(".");
            return handled();
        }
    }
    if (isASCIILetter(c) && automaticNumberReady() && characterCount(state_.numericRaw) >= 2 &&
        (state_.numericWasOverwritten || state_.numericWasLiteral || state_.composer.isEmpty())) {
        if (auto hint = numberHint()) {
            auto hintCharacters = characterViews(*hint);
            bool plainDigits =
                std::all_of(hintCharacters.begin(), hintCharacters.end(), [](std::string_view h) {
                    return isNumber(h) || h == "." || h == "," || h == "-";
                });
            if (plainDigits) {
                clearComposer();
                for (int n = std::min(state_.cursor, state_.numericElements); n > 0; --n)
                    removeElement(state_.cursor - 1);
                state_.automaticEnglishBuffer = *hint + c;
                state_.automaticEnglishBoundary = static_cast<int>(hintCharacters.size());
                cancelNumericRun();
                return handled();
            }
        }
    }

    const bool wasEmpty = state_.composer.isEmpty();
    const std::string raw = state_.composer.rawKeys() + c;
    const int before = state_.composer.overwriteCount();
    auto result = state_.composer.press(c);
    switch (result.kind) {
    case SyllableComposer::PressResult::Kind::absorbed:
        trackNumeric(c, wasEmpty);
        if (!state_.numericRaw.empty() && state_.composer.overwriteCount() >= 1)
            state_.numericWasOverwritten = true;
        return handled();
    case SyllableComposer::PressResult::Kind::composed:
        trackNumeric(c, wasEmpty);
        if (!state_.numericRaw.empty()) {
            if (before >= 1) state_.numericWasOverwritten = true;
            ++state_.numericElements;
        }
        insert(Element::reading(result.syllable.canonical()), raw);
        return handled();
    case SyllableComposer::PressResult::Kind::rejected:
        break;
    }
    if (isNumber(c) && wasEmpty) {
        trackNumeric(c, true);
        state_.numericWasLiteral = true;
        insertLiteral(c);
        if (!state_.numericRaw.empty()) ++state_.numericElements;
        return handled();
    }
    cancelNumericRun();
    if (!state_.composer.isEmpty()) return handled(); // the partial syllable stays
    if (usesChinesePunctuation()) {
        if (auto mark = Punctuation::fullWidth(c)) {
            insertLiteral(*mark);
            return handled();
        }
    }
    if (state_.elements.empty()) return notHandled();
    // The composition is committed and the key itself still reaches the client.
    return Output{false, flush()};
}

bool InputEngine::usesChinesePunctuation() const {
    if (punctuationMode) return *punctuationMode != PunctuationMode::english;
    return fullWidthPunctuation;
}

void InputEngine::insert(Element element, const std::optional<std::string>& rawKeys) {
    const int at = state_.cursor;
    std::vector<DecodedSegment> pins;
    for (DecodedSegment pin : state_.pins) {
        if (at >= pin.end()) {
            pins.push_back(std::move(pin));
        } else if (pin.start >= at) {
            ++pin.start;
            pins.push_back(std::move(pin));
        } // a cursor strictly inside the pin drops it
    }
    state_.pins = std::move(pins);
    std::string key = element.isReading() ? rawKeys.value_or("") : element.text;
    std::set<int> shifted;
    for (int index : state_.explicitEnglishCase)
        shifted.insert(index >= at ? index + 1 : index);
    state_.explicitEnglishCase = std::move(shifted);
    state_.elementKeys.insert(state_.elementKeys.begin() + at, std::move(key));
    state_.elements.insert(state_.elements.begin() + at, std::move(element));
    ++state_.cursor;
    redecode();
}

void InputEngine::removeElement(int index) {
    std::vector<DecodedSegment> pins;
    for (DecodedSegment pin : state_.pins) {
        if (pin.end() <= index) {
            pins.push_back(std::move(pin));
        } else if (index < pin.start) {
            --pin.start;
            pins.push_back(std::move(pin));
        } // a pin over the element goes with it
    }
    state_.pins = std::move(pins);
    std::set<int> shifted;
    for (int i : state_.explicitEnglishCase)
        if (i != index) shifted.insert(i > index ? i - 1 : i);
    state_.explicitEnglishCase = std::move(shifted);
    state_.elementKeys.erase(state_.elementKeys.begin() + index);
    state_.elements.erase(state_.elements.begin() + index);
    --state_.cursor;
    redecode();
}

void InputEngine::insertLiteral(std::string text) {
    insert(Element::literal(std::move(text)), std::nullopt);
}

void InputEngine::insertLiteralCharacters(std::string_view text) {
    for (std::string_view character : characterViews(text))
        insertLiteral(std::string(character));
}

void InputEngine::reset() {
    state_ = Composition{};
}

void InputEngine::redecode() {
    state_.walked = decoder_.walk(state_.elements, state_.pins);
}

void InputEngine::closeSheet() {
    state_.sheet.reset();
    state_.candidatesExpanded = false;
}

std::optional<int> InputEngine::anchorIndex() const {
    if (state_.elements.empty()) return std::nullopt;
    return std::clamp(state_.cursor - 1, 0, static_cast<int>(state_.elements.size()) - 1);
}

std::optional<DecodedSegment> InputEngine::anchorSegment() const {
    auto index = anchorIndex();
    if (!index) return std::nullopt;
    for (const DecodedSegment& segment : state_.walked)
        if (segment.start <= *index && *index < segment.end()) return segment;
    return std::nullopt;
}

} // namespace kelvo
