// The keys a tone key ends are read as one stretch with what precedes them: the syllable before the
// cursor and, before it, the English run or the digits and syllables typed with digit keys. The
// lattice's best path over the stretch may take the new keys as English or a number, move where a
// word ends (smart 資料 rather than smarty 料, xps 文件 rather than xp 黁件), read the syllable before
// as English after all, or digits read as Zhuyin as the number they were (1 小時 rather than 小時);
// the composition is rewritten from the first segment that changed.
#include "Engine/InputEngine.hpp"
#include "Text/Characters.hpp"
#include "Zhuyin/DachenLayout.hpp"

#include <algorithm>

namespace kelvo {
namespace {

// A typed key of an English run: a lower-case letter or a digit (capitals were chosen as English).
bool isRunKey(const Element& element) {
    return element.isKey([](char key) { return (key >= 'a' && key <= 'z') || isDigitKey(key); });
}

// The most elements the keys before the cursor are read again with: enough for a long number whose
// digits were first taken as syllables.
constexpr int longestReadContext = 6;

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

bool sameBoundaries(const KeySegment& a, const KeySegment& b) {
    return a.kind == b.kind && a.start == b.start && a.end == b.end;
}

} // namespace

// Where the English run before the cursor starts, if one ends there; none for a run an earlier
// segmentation split (thank you) or too short to be read again.
std::optional<int> InputEngine::englishRunEndingAt(int runEnd) const {
    const auto& elements = composition_.elements();
    int runStart = runEnd;
    while (runStart > 0 && isRunKey(elements[runStart - 1]) &&
           !composition_.explicitCase().contains(runStart - 1))
        --runStart;
    if (runEnd - runStart < 2 || !isLetterKey(elements[runStart].text[0])) return std::nullopt;
    if (runStart > 1 && isSpace(elements[runStart - 1]) && isRunKey(elements[runStart - 2]))
        return std::nullopt;
    return runStart;
}

std::optional<InputEngine::ReadContext> InputEngine::readContextBeforeCursor() const {
    const auto& elements = composition_.elements();
    const int end = composition_.cursor();
    // The syllable before the cursor, if its keys still spell it.
    int readingsStart = end;
    if (end > 0 && elements[end - 1].isReading() &&
        spellsReading(composition_.keys()[end - 1], elements[end - 1].text))
        --readingsStart;
    // Before it, digits and the syllables digit keys spelled, which a number may take back; and a
    // Space right after digits, which may have been the first tone of a syllable their last digit
    // began (255 之間 is typed 2555␣ru0␣: until 間 came, 2555 and a Space read best).
    int digitsStart = readingsStart;
    if (digitsStart > 1 && isSpace(elements[digitsStart - 1]) && isLiteralDigit(elements[digitsStart - 2]))
        --digitsStart;
    while (digitsStart > 0 && end - digitsStart < longestReadContext) {
        const Element& element = elements[digitsStart - 1];
        const std::string& keys = composition_.keys()[digitsStart - 1];
        const bool digitSyllable =
            element.isReading() && hasDigitKeyBeforeTone(keys) && spellsReading(keys, element.text);
        if (!isLiteralDigit(element) && !digitSyllable) break;
        --digitsStart;
    }
    // Digits right after letters are the version of an English word (magic8, bzip2), not a number.
    while (digitsStart < readingsStart && isLiteralDigit(elements[digitsStart]) &&
           followsLetters(elements, digitsStart))
        ++digitsStart;
    if (digitsStart < readingsStart && isSpace(elements[digitsStart])) ++digitsStart;
    if (digitsStart < readingsStart) return contextFrom(digitsStart);
    int runEnd = readingsStart;
    const bool spaced = runEnd > 0 && isSpace(elements[runEnd - 1]);
    if (spaced) --runEnd;
    std::optional<int> runStart = englishRunEndingAt(runEnd);
    // A syllable right after English was read in the layout's order, as the lattice reads it there.
    if (runStart && !spaced && readingsStart < end &&
        !isCleanSyllable(elements[readingsStart], composition_.keys()[readingsStart]))
        return std::nullopt;
    if (!runStart) return contextFrom(readingsStart);
    if (!pinsSpare(*runStart)) return std::nullopt;
    ReadContext context{*runStart, {}, {}};
    for (int i = *runStart; i < runEnd; ++i)
        context.keys += elements[i].text;
    context.segments.push_back({KeySegment::Kind::english, 0, context.keys.size(), {}});
    if (spaced) {
        context.keys += " ";
        context.segments.push_back(
            {KeySegment::Kind::space, context.keys.size() - 1, context.keys.size(), {}});
    }
    appendElementSegments(context, readingsStart);
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

InputEngine::KeysAtCursor InputEngine::keysAtCursor(std::string_view newKeys) const {
    KeysAtCursor typed{readContextBeforeCursor(), {}, {}};
    const int start = typed.context ? typed.context->firstElement : composition_.cursor();
    if (typed.context) typed.keys = typed.context->keys;
    if (start > 0 && composition_.elements()[start - 1].isReading() &&
        !(typed.context && typed.context->startsHeld()))
        typed.previousReading = composition_.elements()[start - 1].text;
    typed.keys += newKeys;
    return typed;
}

// How many of the composer's keys, and `next` after them if the lattice reads it (a mark such as "!"
// it does not), the lattice reads as typed keys (English or a number) from the first on, the first
// of them of kind `leading`; the rest is a syllable still to come (gnome then ㄧ, 0 then ㄕㄥ). None
// when they start a syllable. A word of the list that is also a common syllable (ru, fm, cl) is
// English only where English leads, and one key is no word.
std::optional<std::size_t> InputEngine::typedKeysAtCursor(std::string_view next,
                                                          KeySegment::Kind leading) const {
    auto scorer = keyRunScorer();
    const std::string raw = composer().rawKeys() + std::string(isLatticeKey(next) ? next : "");
    if (!scorer || characterCount(raw) < 2) return std::nullopt;
    const auto [context, keys, previous] = keysAtCursor(raw);
    auto path = KeyLattice(*scorer).best({keys, context && context->startsHeld(), false, previous, true});
    if (!path) return std::nullopt;
    const std::size_t first = keys.size() - raw.size();
    std::optional<std::size_t> typed;
    for (const KeySegment& segment : path->segments) {
        if (segment.end <= first) continue;
        if (!isTypedAsKeys(segment.kind) || (!typed && segment.kind != leading)) break;
        typed = segment.end - first;
    }
    return typed;
}

InputEngine::MaybeOutput InputEngine::settleKeyRun(const std::string& toneKey, bool runIsSyllable) {
    auto scorer = keyRunScorer();
    if (!scorer || !DachenLayout::isToneKey(toneKey)) return std::nullopt;
    const std::string raw = composer().rawKeys();
    // Keys without letters spell no English, and without digits no number.
    runIsSyllable = runIsSyllable || std::none_of(raw.begin(), raw.end(), [](char key) {
                        return isLetterKey(key) || isDigitKey(key);
                    });
    const KeysAtCursor typed = keysAtCursor(raw + toneKey);
    const auto& [context, keys, previous] = typed;
    if (!context && runIsSyllable && !numberRun()) return std::nullopt;
    // After English and its Space, a clean syllable competes with English as any keys do (if i).
    if (context && context->startsHeld() && context->segments.back().kind == KeySegment::Kind::space)
        runIsSyllable = false;
    auto path = KeyLattice(*scorer).best({keys, context && context->startsHeld(), runIsSyllable, previous});
    // Digits that go on as a number stay in the number run, which shows them as one.
    if (!path || path->segments.back().kind == KeySegment::Kind::number) return std::nullopt;
    const bool readsNumber =
        std::any_of(path->segments.begin(), path->segments.end(),
                    [](const KeySegment& s) { return s.kind == KeySegment::Kind::number; });
    // Digits read as Chinese end the number run: a digit after them starts a number of its own.
    if (!readsNumber) cancelNumericRun();

    std::vector<KeySegment> current = context ? context->segments : std::vector<KeySegment>{};
    current.push_back(
        {KeySegment::Kind::syllable, keys.size() - raw.size() - toneKey.size(), keys.size(), {}});
    const auto differs = std::mismatch(current.begin(), current.end(), path->segments.begin(),
                                       path->segments.end(), sameBoundaries);
    if (differs.first == current.end() && differs.second == path->segments.end())
        return runIsSyllable ? std::nullopt : std::optional(pressIntoComposer(toneKey));
    const std::size_t first = static_cast<std::size_t>(differs.second - path->segments.begin());
    if (std::any_of(
            path->segments.begin() + static_cast<std::ptrdiff_t>(first), path->segments.end(),
            [](const KeySegment& s) { return s.kind == KeySegment::Kind::syllable && s.reading.empty(); }))
        return std::nullopt; // keys that spell no known syllable are left to the composer

    // Elements of the unchanged segments stay; the rest of the stretch is typed again as read.
    int kept = 0;
    for (std::size_t i = 0; i < first && i < current.size() - 1; ++i)
        kept += isTypedAsKeys(current[i].kind) ? static_cast<int>(current[i].end - current[i].start) : 1;
    if (context)
        for (int i = composition_.cursor(); i > context->firstElement + kept; --i)
            composition_.removeBeforeCursor();
    clearComposer();
    cancelNumericRun();
    insertKeySegments(keys,
                      std::vector<KeySegment>(path->segments.begin() + static_cast<std::ptrdiff_t>(first),
                                              path->segments.end()));
    return handled();
}

bool InputEngine::acceptSyllableAfterHeldEnglish(std::string_view keys, const std::string& toneKey) {
    auto scorer = keyRunScorer();
    if (!scorer || !DachenLayout::isToneKey(toneKey)) return false;
    const std::string stretch = std::string(keys) + toneKey;
    auto path = KeyLattice(*scorer).best({stretch, true, false, std::nullopt});
    // Held digits are a number before the syllable (36 個, 100 元), held letters English.
    if (!path || std::none_of(path->segments.begin(), path->segments.end(),
                              [](const KeySegment& s) { return s.kind == KeySegment::Kind::syllable; }))
        return false;
    state_ = Composing{};
    insertKeySegments(stretch, path->segments);
    return true;
}

void InputEngine::insertKeySegments(std::string_view keys, const std::vector<KeySegment>& segments) {
    for (std::size_t i = 0; i < segments.size(); ++i) {
        const KeySegment& segment = segments[i];
        const std::string typed(keys.substr(segment.start, segment.end - segment.start));
        switch (segment.kind) {
        case KeySegment::Kind::english:
            // The last word may still grow a version: it stays held.
            if (i + 1 == segments.size())
                holdEnglish(typed);
            else
                insertLiteralCharacters(formattedEnglish(typed));
            break;
        case KeySegment::Kind::number:
            insertLiteralCharacters(typed);
            break;
        case KeySegment::Kind::space:
            insertLiteral(" ");
            break;
        case KeySegment::Kind::syllable:
            insertElement(Element::reading(segment.reading), typed);
            break;
        }
    }
}

} // namespace kelvo
