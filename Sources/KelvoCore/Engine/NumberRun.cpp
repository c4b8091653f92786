// Digits typed on the Zhuyin keys recognised as numbers: the run of keys that started with a digit,
// when it is ready to be a number, and how it is accepted, retyped or given up.
#include "Engine/EnglishRunSupport.hpp"
#include "Engine/InputEngine.hpp"
#include "Text/Characters.hpp"
#include "Zhuyin/DachenLayout.hpp"

#include <algorithm>

namespace kelvo {
namespace {

// Whether the component a key stands for would go into a slot the syllable has not filled yet.
bool fillsEmptySlot(const Syllable& syllable, const ZhuyinComponent& component) {
    if (std::holds_alternative<Syllable::Initial>(component)) return !syllable.initial;
    if (std::holds_alternative<Syllable::Medial>(component)) return !syllable.medial;
    if (std::holds_alternative<Syllable::Final>(component)) return !syllable.final;
    return false;
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

const NumberRun* InputEngine::numberRun() const {
    if (const auto* state = std::get_if<Composing>(&state_)) return state->number ? &*state->number : nullptr;
    if (const auto* state = std::get_if<BilingualSheet>(&state_))
        return state->underneath.number ? &*state->underneath.number : nullptr;
    return nullptr;
}

bool NumberRun::continuedBy(std::string_view c) {
    return isLetter(c) || isNumber(c) || c == "." || c == "," || c == "-";
}

std::optional<std::string> NumberRun::number() const {
    auto characters = characterViews(raw);
    if (std::none_of(characters.begin(), characters.end(), isNumber)) return std::nullopt;
    auto firstLetter = std::find_if(characters.begin(), characters.end(), isLetter);
    if (firstLetter == characters.end()) return raw;
    std::string unit = lowercased(raw.substr(static_cast<std::size_t>(firstLetter->data() - raw.data())));
    if (unitSuffixes().contains(unit)) return raw;
    return std::nullopt;
}

std::optional<std::string> InputEngine::numberHint() const {
    const NumberRun* run = numberRun();
    return run ? run->number() : std::nullopt;
}

bool InputEngine::automaticNumberReady() const {
    if (!settings_.automaticNumbers) return false;
    auto hint = numberHint();
    if (!hint) return false;
    auto hintCharacters = characterViews(*hint);
    if (std::any_of(hintCharacters.begin(), hintCharacters.end(), isLetter)) return true;
    const NumberRun& run = *numberRun();
    if (run.wasOverwritten || run.wasLiteral || !composer().isEmpty()) return true;
    // While every syllable the digits made is a real reading, the keys are taken as Chinese.
    return producedUnknownReading();
}

bool InputEngine::producedUnknownReading() const {
    const NumberRun* run = numberRun();
    if (!run) return false;
    const auto& elements = composition_.elements();
    const int end = composition_.cursor();
    for (int i = std::max(end - run->elements, 0); i < end; ++i)
        if (elements[i].isReading() && lexicon_->unigrams(elements[i].text).empty()) return true;
    return false;
}

void InputEngine::cancelNumericRun() {
    if (Composing* state = composing()) state->number.reset();
    if (auto* sheet = std::get_if<BilingualSheet>(&state_)) sheet->underneath.number.reset();
}

void InputEngine::acceptNumber() {
    auto hint = numberHint();
    if (!hint) return;
    const int produced = numberRun()->elements;
    clearComposer();
    removeElements(produced);
    insertLiteralCharacters(*hint);
    cancelNumericRun();
}

// Backspace on a ready number: the run is typed again without its last key.
InputEngine::Output InputEngine::retypeNumberWithoutLastKey() {
    auto keys = characters(numberRun()->raw);
    if (!keys.empty()) keys.pop_back();
    const int produced = numberRun()->elements;
    state_ = Composing{};
    removeElements(produced);
    for (const std::string& key : keys) {
        // Digits followed by a letter become held English on the way, which takes the rest.
        if (std::holds_alternative<HeldEnglish>(state_))
            handleInHeldEnglish(KeyInput::typed(key));
        else
            handleZhuyinKey(key);
    }
    return handled();
}

// A ready number followed by punctuation that is no tone key: the digits stay digits.
InputEngine::MaybeOutput InputEngine::numberEndedByPunctuation(const std::string& c) {
    if (!automaticNumberReady() || characterCount(numberRun()->raw) < 2 || NumberRun::continuedBy(c))
        return std::nullopt;
    auto component = DachenLayout::component(c);
    if (component && isTone(*component)) return std::nullopt;
    // ";" and "/" are also the finals ㄤ and ㄥ. After digits that made only real syllables (a unit
    // letter or a pending key proves nothing: 至上 is typed 5 4 g ; 4) they go on spelling Chinese,
    // as long as they fill an empty slot of the syllable; an overwrite, a literal digit or an
    // unknown syllable shows that digits were meant.
    const NumberRun& run = *numberRun();
    bool spellsZhuyin = component && fillsEmptySlot(composer().syllable(), *component) &&
                        !run.wasOverwritten && !run.wasLiteral && !producedUnknownReading();
    if (spellsZhuyin) return std::nullopt;
    // Letters the lattice reads as a syllable after the digits are no unit (0 then ㄕㄥ 聲).
    const std::string& keys = composer().rawKeys();
    if (std::any_of(keys.begin(), keys.end(), isLetterKey) && keyRunScorer()) {
        const auto typed = typedKeysAtCursor(c, KeySegment::Kind::number);
        if (!typed || *typed < keys.size()) return std::nullopt;
    }
    acceptNumber();
    insertLiteral(c);
    return handled();
}

// A ready run of plain digits followed by a letter: the digits and the letter become held English,
// which decides later whether they are a version, a unit or a name.
InputEngine::MaybeOutput InputEngine::numberFollowedByLetter(const std::string& c) {
    if (!isASCIILetter(c) || !automaticNumberReady() || characterCount(numberRun()->raw) < 2)
        return std::nullopt;
    const NumberRun& run = *numberRun();
    if (!run.wasOverwritten && !run.wasLiteral && !composer().isEmpty()) return std::nullopt;
    auto hint = numberHint();
    if (!hint) return std::nullopt;
    const auto hintCharacters = characterViews(*hint);
    bool plainDigits = std::all_of(hintCharacters.begin(), hintCharacters.end(), [](std::string_view h) {
        return isNumber(h) || h == "." || h == "," || h == "-";
    });
    if (!plainDigits) return std::nullopt;
    const int produced = run.elements;
    clearComposer();
    removeElements(produced);
    holdEnglish(*hint + c);
    return handled();
}

} // namespace kelvo
