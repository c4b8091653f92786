// The keys a tone key ends are read as one stretch with what precedes them (ReadContext.cpp). The
// lattice's best path over the stretch may take the new keys as English or a number, move where a
// word ends (smart 資料 rather than smarty 料, xps 文件 rather than xp 黁件), read the syllable before
// as English after all, or digits read as Zhuyin as the number they were (1 小時 rather than 小時);
// the composition is rewritten from the first segment that changed.
#include "Engine/InputEngine.hpp"
#include "Engine/WordReading.hpp"
#include "Text/Characters.hpp"
#include "Zhuyin/DachenLayout.hpp"

#include <algorithm>

namespace kelvo {
namespace {

bool sameBoundaries(const KeySegment& a, const KeySegment& b) {
    return a.kind == b.kind && a.start == b.start && a.end == b.end;
}

} // namespace

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
    auto path = likeliestInWords(
        KeyLattice(*scorer).likeliest({keys, context && context->startsHeld(), runIsSyllable, previous},
                                      readingsReadInWords),
        previous, decoder_, learnedModel());
    // Digits that go on as a number stay in the number run, which shows them as one.
    if (!path || path->segments.back().kind == KeySegment::Kind::number) return std::nullopt;
    // Digits read as Chinese end the number run: a digit after them starts a number of its own.
    if (!path->readsANumber()) cancelNumericRun();

    std::vector<KeySegment> current = context ? context->segments : std::vector<KeySegment>{};
    current.push_back(
        {KeySegment::Kind::syllable, keys.size() - raw.size() - toneKey.size(), keys.size(), {}});
    const auto differs = std::mismatch(current.begin(), current.end(), path->segments.begin(),
                                       path->segments.end(), sameBoundaries);
    if (differs.first == current.end() && differs.second == path->segments.end())
        return runIsSyllable ? std::nullopt : std::optional(pressIntoComposer(toneKey));
    const std::size_t first = static_cast<std::size_t>(differs.second - path->segments.begin());
    if (std::any_of(path->segments.begin() + static_cast<std::ptrdiff_t>(first), path->segments.end(),
                    [](const KeySegment& s) { return s.spellsNoKnownSyllable(); }))
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
