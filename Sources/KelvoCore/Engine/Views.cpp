// What the engine shows: the marked text with its styles, caret and active range in UTF-16 units,
// the composition panel's lines and the English hint strip. What they rest on (the text of each
// element, the pending text, the hints) is worked out once after a change, not on every redraw.
#include "Engine/InputEngine.hpp"
#include "Text/Characters.hpp"

#include <algorithm>

namespace kelvo {
namespace {

using Style = InputEngine::Preedit::Style;

// Adds text to the marked text, joining a neighbour of the same style; empty text adds nothing.
void appendPiece(InputEngine::Preedit& preedit, std::string_view text, Style style) {
    if (text.empty()) return;
    if (!preedit.pieces.empty() && preedit.pieces.back().style == style)
        preedit.pieces.back().text += text;
    else
        preedit.pieces.push_back({std::string(text), style});
}

int utf16LengthOf(const std::vector<std::string>& texts, int begin, int end) {
    int length = 0;
    for (int i = begin; i < end; ++i)
        length += static_cast<int>(utf16Length(texts[i]));
    return length;
}

std::string joined(const std::vector<std::string>& parts, std::string_view separator) {
    std::string result;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) result += separator;
        result += parts[i];
    }
    return result;
}

// Keys as the composition panel shows them: a typed space is drawn as ␣.
std::string visibleKeys(std::string_view keys) {
    std::string shown;
    for (char c : keys)
        shown += c == ' ' ? std::string("␣") : std::string(1, c);
    return shown;
}

} // namespace

std::string InputEngine::Preedit::text() const {
    std::string result;
    for (const Piece& piece : pieces)
        result += piece.text;
    return result;
}

const InputEngine::Presentation& InputEngine::presentation() const {
    if (!presentation_) presentation_ = present();
    return *presentation_;
}

InputEngine::Presentation InputEngine::present() const {
    Presentation shown;
    const std::optional<std::size_t> englishKeys = englishKeysAtCursor("");
    shown.texts = elementTexts();
    shown.pending = pendingText(englishKeys);
    shown.pendingIsEnglish = englishKeys.has_value();
    shown.numberHint = numberHint();
    shown.numberReady = automaticNumberReady();
    shown.englishHint = englishHint();
    // Keys that are a clean syllable offer their English only where English leads.
    if (shown.englishHint && composer().overwriteCount() == 0 && keyRunScorer() && !englishKeys)
        shown.englishHint.reset();
    return shown;
}

std::vector<std::string> InputEngine::elementTexts() const {
    const int count = composition_.count();
    std::vector<std::string> texts(static_cast<std::size_t>(count));
    for (const DecodedSegment& segment : decoded_) {
        std::vector<std::string> characters = kelvo::characters(segment.value);
        if (static_cast<int>(characters.size()) == segment.length) {
            for (int k = 0; k < segment.length; ++k)
                if (segment.start + k < count) texts[segment.start + k] = std::move(characters[k]);
        } else if (segment.start >= 0 && segment.start < count) {
            texts[segment.start] = segment.value;
        }
    }
    return texts;
}

int InputEngine::utf16LengthOfTextsBefore(int index) const {
    const std::vector<std::string>& texts = presentation().texts;
    return utf16LengthOf(texts, 0, std::clamp(index, 0, static_cast<int>(texts.size())));
}

// Asked while a key is handled, when what is shown may already be out of date.
std::string InputEngine::pendingText() const {
    return pendingText(englishKeysAtCursor(""));
}

// English keys in the composer show as the English they spell, a syllable after them as its Zhuyin.
std::string InputEngine::pendingText(std::optional<std::size_t> englishKeys) const {
    if (const auto* buffer = std::get_if<ShortcutBuffer>(&state_)) return buffer->keys;
    if (const auto* held = std::get_if<HeldEnglish>(&state_)) return formattedEnglish(held->keys);
    if (!englishKeys) return composer().display();
    const std::string_view raw = composer().rawKeys();
    const auto syllable = SyllableComposer::afterKeys(raw.substr(*englishKeys));
    return formattedEnglish(raw.substr(0, *englishKeys)) +
           (syllable ? syllable->display() : std::string(raw.substr(*englishKeys)));
}

InputEngine::Preedit InputEngine::preedit() const {
    const Presentation& shown = presentation();
    const std::vector<std::string>& texts = shown.texts;
    const int count = static_cast<int>(texts.size());
    const int cursor = composition_.cursor();
    Preedit preedit;
    if (shown.numberReady && shown.numberHint) {
        // The number in place of the elements its keys made, the caret after it.
        const NumberRun& run = *numberRun();
        std::string before;
        for (int i = 0; i < std::max(cursor - run.elements, 0); ++i)
            before += texts[i];
        before += *shown.numberHint;
        std::string after;
        for (int i = cursor; i < count; ++i)
            after += texts[i];
        appendPiece(preedit, before + after, Style::converted);
        preedit.caretUTF16 = static_cast<int>(utf16Length(before));
        return preedit;
    }

    const std::optional<DecodedSegment> anchor = anchorSegment();
    const Style pendingStyle = shown.pendingIsEnglish ? Style::converted : Style::raw;
    const auto& elements = composition_.elements();
    int length = 0;
    auto add = [&](std::string_view text, Style style) {
        appendPiece(preedit, text, style);
        length += static_cast<int>(utf16Length(text));
    };
    for (int i = 0; i <= count; ++i) {
        if (i == cursor) {
            add(shown.pending, pendingStyle);
            preedit.caretUTF16 = length;
        }
        if (i == count) break;
        bool active = anchor && elements[i].isReading() && anchor->start <= i && i < anchor->end();
        add(texts[i], active ? Style::active : Style::converted);
    }
    if (composer().isEmpty() && count > 0) {
        const int j = *composition_.anchorIndex();
        int activeLength = static_cast<int>(utf16Length(texts[j]));
        if (activeLength > 0 && elements[j].isReading())
            preedit.activeRangeUTF16 = Preedit::Range{utf16LengthOf(texts, 0, j), activeLength};
    }
    return preedit;
}

std::optional<InputEngine::Feedback> InputEngine::feedback() const {
    if (isIdle()) return std::nullopt;
    const Presentation& shown = presentation();
    const auto& elements = composition_.elements();
    const auto& elementKeys = composition_.keys();
    const int count = composition_.count();
    const int cursor = composition_.cursor();
    Feedback feedback;
    feedback.text = preedit().text();

    if (shown.numberReady && shown.numberHint) {
        // Readings and keys of the elements around the number; the number's keys are its text.
        const int runStart = std::max(cursor - numberRun()->elements, 0);
        std::vector<std::string> readings, keysBefore, keysAfter;
        for (int i = 0; i < count; ++i) {
            if (i >= runStart && i < cursor) continue;
            if (elements[i].isReading()) readings.push_back(elements[i].text);
            (i < runStart ? keysBefore : keysAfter).push_back(elementKeys[i]);
        }
        feedback.zhuyin = joined(readings, " ");
        feedback.rawKeys = joined(keysBefore, " ") + *shown.numberHint; // no space before the number
        for (const std::string& key : keysAfter) {
            feedback.rawKeys += ' ';
            feedback.rawKeys += key;
        }
        return feedback;
    }

    std::vector<std::string> zhuyin, keys = elementKeys;
    for (const Element& element : elements)
        zhuyin.push_back(element.text);
    if (!shown.pending.empty()) {
        const auto* held = std::get_if<HeldEnglish>(&state_);
        const auto* buffer = std::get_if<ShortcutBuffer>(&state_);
        bool plainSyllable = !held && !buffer && !shown.pendingIsEnglish;
        zhuyin.insert(zhuyin.begin() + cursor, plainSyllable ? composer().display() : shown.pending);
        std::string typed = held ? held->keys : buffer ? buffer->keys : composer().rawKeys();
        keys.insert(keys.begin() + cursor, std::move(typed));
    }
    for (std::string& key : keys)
        key = visibleKeys(key);
    feedback.zhuyin = joined(zhuyin, " ");
    feedback.rawKeys = joined(keys, " ");
    return feedback;
}

std::optional<InputEngine::SheetView> InputEngine::englishHintView() const {
    if (!std::holds_alternative<Composing>(state_) && !std::holds_alternative<LiteralRun>(state_))
        return std::nullopt;
    const Presentation& shown = presentation();
    if (shown.pendingIsEnglish || shown.numberReady) return std::nullopt;
    std::optional<std::string> hint;
    bool fromNumber = false;
    if (const NumberRun* run = numberRun(); run && characterCount(run->raw) >= 2) {
        hint = shown.numberHint;
        fromNumber = hint.has_value();
    }
    if (!hint) hint = shown.englishHint;
    if (!hint) return std::nullopt;

    SheetView view;
    view.items.push_back(SheetView::Item{"⇥", settings_.formatting.preferredVariant(*hint), -1});
    view.highlightedInPage = -1;
    // Under the start of the pending word, or of the number's elements.
    int anchor = preedit().caretUTF16 - static_cast<int>(utf16Length(composer().display()));
    if (fromNumber) {
        const int cursor = composition_.cursor();
        for (int i = std::max(cursor - numberRun()->elements, 0); i < cursor; ++i)
            anchor -= static_cast<int>(utf16Length(shown.texts[i]));
    }
    view.anchorUTF16 = std::max(anchor, 0);
    return view;
}

} // namespace kelvo
