// What the keys typed next are read with: the syllable before the cursor and, before it, the English
// run or the digits and syllables typed with digit keys; after an English run, the few syllables
// since it.
#include "Engine/InputEngine.hpp"
#include "Text/Characters.hpp"
#include "Zhuyin/SyllableComposer.hpp"

#include <algorithm>

namespace kelvo {
namespace {

// The most elements the keys before the cursor are read again with: enough for a long number whose
// digits were first taken as syllables.
constexpr int longestReadContext = 6;
// The most syllables after an English run that are read again with it: the words they make may
// move where the English ends (ar 壓縮檔 rather than a 加縮檔, which scored better until 檔).
constexpr int syllablesReadWithEnglish = 3;

// A typed key of an English run: a lower-case letter or a digit (capitals were chosen as English).
bool isRunKey(const Element& element) {
    return element.isKey([](char key) { return (key >= 'a' && key <= 'z') || isDigitKey(key); });
}

// Keys typed in the layout's order, without a replaced slot, that spell the element's syllable.
bool isCleanSyllable(const Element& element, std::string_view keys) {
    if (keys.empty()) return false;
    auto syllable = syllableInKeyOrder(keys.substr(0, keys.size() - 1), keys.substr(keys.size() - 1));
    return syllable && syllable->canonical() == element.text;
}

// Keys that the composer reads as the element's syllable (a choice may have left other keys).
bool spellsReading(std::string_view keys, const std::string& reading) {
    if (keys.empty()) return false;
    auto walk = SyllableComposer::afterKeys(keys.substr(0, keys.size() - 1));
    if (!walk) return false;
    auto result = walk->press(keys.substr(keys.size() - 1));
    return result.kind == SyllableComposer::PressResult::Kind::composed &&
           result.syllable.canonical() == reading;
}

// A Space typed among the keys, kept as a literal.
bool isSpace(const Element& element) {
    return !element.isReading() && element.text == " ";
}

// A digit or decimal point left as a literal: a number that later keys may still extend or end.
bool isLiteralDigit(const Element& element) {
    return element.isKey(isNumberKey);
}

// A syllable that digit keys helped spell (ㄅ ㄉ ㄓ ㄚ ㄞ ㄢ): they may have been a number.
bool hasDigitKeyBeforeTone(std::string_view keys) {
    return std::any_of(keys.begin(), keys.end() - (keys.empty() ? 0 : 1),
                       [](char c) { return isDigitKey(c); });
}

// Where the syllables right before the cursor whose keys still spell them start, `most` at most.
int syllablesBeforeCursor(const Composition& composition, int most) {
    const auto& elements = composition.elements();
    int start = composition.cursor();
    while (start > 0 && composition.cursor() - start < most && elements[start - 1].isReading() &&
           spellsReading(composition.keys()[start - 1], elements[start - 1].text))
        --start;
    return start;
}

// Where the digits before `first` start, with the syllables digit keys spelled, which a number may
// take back, and a Space right after digits, which may have been the first tone of a syllable their
// last digit began (255 之間 is typed 2555␣ru0␣: until 間 came, 2555 and a Space read best). None
// where there are none.
std::optional<int> digitsBefore(const Composition& composition, int first) {
    const auto& elements = composition.elements();
    int start = first;
    if (start > 1 && isSpace(elements[start - 1]) && isLiteralDigit(elements[start - 2])) --start;
    while (start > 0 && composition.cursor() - start < longestReadContext) {
        const Element& element = elements[start - 1];
        const std::string& keys = composition.keys()[start - 1];
        const bool digitSyllable =
            element.isReading() && hasDigitKeyBeforeTone(keys) && spellsReading(keys, element.text);
        if (!isLiteralDigit(element) && !digitSyllable) break;
        --start;
    }
    // Digits right after letters are the version of an English word (magic8, bzip2), not a number.
    while (start < first && isLiteralDigit(elements[start]) && followsLetters(elements, start))
        ++start;
    if (start < first && isSpace(elements[start])) ++start;
    return start < first ? std::optional(start) : std::nullopt;
}

// Whether a Space separates `first` from what is before it.
bool spacedBefore(const std::vector<Element>& elements, int first) {
    return first > 0 && isSpace(elements[first - 1]);
}

// Where the English run that ends before `first` (and the Space after it) starts; none where no run
// ends there, or an earlier segmentation split it (thank you).
std::optional<int> englishRunBefore(const Composition& composition, int first) {
    const auto& elements = composition.elements();
    const int runEnd = first - (spacedBefore(elements, first) ? 1 : 0);
    int runStart = runEnd;
    while (runStart > 0 && isRunKey(elements[runStart - 1]) &&
           !composition.explicitCase().contains(runStart - 1))
        --runStart;
    if (runEnd == runStart || !isLetterKey(elements[runStart].text[0])) return std::nullopt;
    if (runStart > 1 && isSpace(elements[runStart - 1]) && isRunKey(elements[runStart - 2]))
        return std::nullopt;
    return runStart;
}

} // namespace

std::optional<InputEngine::ReadContext> InputEngine::readContextBeforeCursor() const {
    const int end = composition_.cursor();
    const int afterRun = syllablesBeforeCursor(composition_, syllablesReadWithEnglish);
    // The syllable before the cursor, if its keys spell it: the last of those read with English.
    const int syllable = afterRun < end ? end - 1 : end;
    if (afterRun < syllable)
        if (auto runStart = englishRunBefore(composition_, afterRun))
            if (auto context = englishContext(*runStart, afterRun)) return context;
    if (auto digits = digitsBefore(composition_, syllable)) return contextFrom(*digits);
    if (auto runStart = englishRunBefore(composition_, syllable)) return englishContext(*runStart, syllable);
    return contextFrom(syllable);
}

// The English run from `runStart`, its Space if any, and the syllables from `first` to the cursor.
std::optional<InputEngine::ReadContext> InputEngine::englishContext(int runStart, int first) const {
    const auto& elements = composition_.elements();
    const bool spaced = spacedBefore(elements, first);
    // A syllable right after English was read in the layout's order, as the lattice reads it there.
    if (!spaced && first < composition_.cursor() &&
        !isCleanSyllable(elements[first], composition_.keys()[first]))
        return std::nullopt;
    if (!pinsSpare(runStart)) return std::nullopt;
    ReadContext context{runStart, {}, {}};
    for (int i = runStart; i < first - (spaced ? 1 : 0); ++i)
        context.keys += elements[i].text;
    context.segments.push_back({KeySegment::Kind::english, 0, context.keys.size(), {}});
    if (spaced) {
        context.keys += " ";
        context.segments.push_back(
            {KeySegment::Kind::space, context.keys.size() - 1, context.keys.size(), {}});
    }
    appendElementSegments(context, first);
    return context;
}

bool InputEngine::pinsSpare(int first) const {
    const int end = composition_.cursor();
    return std::none_of(composition_.pins().begin(), composition_.pins().end(),
                        [&](const DecodedSegment& pin) { return pin.end() > first && pin.start < end; });
}

// The elements from `first` to the cursor as a context of their own: syllables and literal digits.
std::optional<InputEngine::ReadContext> InputEngine::contextFrom(int first) const {
    if (first == composition_.cursor() || !pinsSpare(first)) return std::nullopt;
    ReadContext context{first, {}, {}};
    appendElementSegments(context, first);
    return context;
}

void InputEngine::appendElementSegments(ReadContext& context, int first) const {
    const auto& elements = composition_.elements();
    for (int i = first; i < composition_.cursor(); ++i) {
        const std::size_t start = context.keys.size();
        if (elements[i].isReading()) {
            context.keys += composition_.keys()[i];
            context.segments.push_back(
                {KeySegment::Kind::syllable, start, context.keys.size(), elements[i].text});
        } else {
            context.keys += elements[i].text;
            const auto kind = isSpace(elements[i]) ? KeySegment::Kind::space : KeySegment::Kind::number;
            context.segments.push_back({kind, start, context.keys.size(), {}});
        }
    }
}

} // namespace kelvo
