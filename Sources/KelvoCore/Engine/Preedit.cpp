// What the engine shows: the marked text with its styles, caret and active range in UTF-16 units,
// and the composition panel's lines. Both are recomputed from the state on every call.
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

} // namespace

std::string InputEngine::Preedit::text() const {
    std::string result;
    for (const Piece& piece : pieces)
        result += piece.text;
    return result;
}

std::vector<std::string> InputEngine::elementTexts() const {
    const int count = static_cast<int>(state_.elements.size());
    std::vector<std::string> texts(state_.elements.size());
    for (const DecodedSegment& segment : state_.walked) {
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
    std::vector<std::string> texts = elementTexts();
    return utf16LengthOf(texts, 0, std::clamp(index, 0, static_cast<int>(texts.size())));
}

std::string InputEngine::pendingText() const {
    if (state_.customTextBuffer) return *state_.customTextBuffer;
    if (state_.automaticEnglishBuffer)
        return formattedEnglish(*state_.automaticEnglishBuffer, state_.automaticEnglishBoundary);
    const std::string& raw = state_.composer.rawKeys();
    if (auto prefix = englishPrefixLength(raw)) return formattedEnglish(raw, *prefix);
    if (isUnlistedEnglish()) return raw;
    return state_.composer.display();
}

InputEngine::Preedit InputEngine::preedit() const {
    Preedit preedit;
    const std::vector<std::string> texts = elementTexts();
    const int count = static_cast<int>(texts.size());
    if (automaticNumberReady()) {
        if (auto hint = numberHint()) {
            int keep = state_.numericElements > count ? count : count - state_.numericElements;
            std::string text;
            for (int i = 0; i < keep; ++i)
                text += texts[i];
            text += *hint;
            appendPiece(preedit, text, Style::converted);
            preedit.caretUTF16 = static_cast<int>(utf16Length(text));
            return preedit;
        }
    }

    const std::optional<DecodedSegment> anchor = anchorSegment();
    const Style pendingStyle = englishPrefixLength(state_.composer.rawKeys()) ? Style::converted : Style::raw;
    const std::string pending = pendingText();
    int length = 0;
    auto add = [&](std::string_view text, Style style) {
        appendPiece(preedit, text, style);
        length += static_cast<int>(utf16Length(text));
    };
    for (int i = 0; i < count; ++i) {
        if (i == state_.cursor) {
            add(pending, pendingStyle);
            preedit.caretUTF16 = length;
        }
        bool active = anchor && state_.elements[i].isReading() && anchor->start <= i && i < anchor->end();
        add(texts[i], active ? Style::active : Style::converted);
    }
    if (state_.cursor == count) {
        add(pending, pendingStyle);
        preedit.caretUTF16 = length;
    }
    if (state_.composer.isEmpty() && count > 0) {
        const int j = *anchorIndex();
        int activeLength = static_cast<int>(utf16Length(texts[j]));
        if (activeLength > 0 && state_.elements[j].isReading())
            preedit.activeRangeUTF16 = Preedit::Range{utf16LengthOf(texts, 0, j), activeLength};
    }
    return preedit;
}

std::optional<InputEngine::Feedback> InputEngine::feedback() const {
    if (state_.elements.empty() && state_.composer.isEmpty() && !state_.automaticEnglishBuffer &&
        !state_.customTextBuffer)
        return std::nullopt;
    const int count = static_cast<int>(state_.elements.size());
    Feedback feedback;
    feedback.text = preedit().text();

    if (automaticNumberReady()) {
        if (auto hint = numberHint()) {
            int keep = std::max(count - state_.numericElements, 0);
            std::vector<std::string> readings, keys;
            for (int i = 0; i < keep; ++i) {
                if (state_.elements[i].isReading()) readings.push_back(state_.elements[i].text);
                keys.push_back(state_.elementKeys[i]);
            }
            feedback.zhuyin = joined(readings, " ");
            feedback.rawKeys = joined(keys, " ") + *hint;
            return feedback;
        }
    }

    std::vector<std::string> zhuyin, keys;
    for (const Element& element : state_.elements)
        zhuyin.push_back(element.text);
    keys = state_.elementKeys;
    const std::string pending = pendingText();
    if (!pending.empty()) {
        bool plainSyllable = !state_.automaticEnglishBuffer && !state_.customTextBuffer &&
                             !englishPrefixLength(state_.composer.rawKeys());
        zhuyin.insert(zhuyin.begin() + state_.cursor, plainSyllable ? state_.composer.display() : pending);
        std::string typed = state_.automaticEnglishBuffer ? *state_.automaticEnglishBuffer
                            : state_.customTextBuffer     ? *state_.customTextBuffer
                                                          : state_.composer.rawKeys();
        keys.insert(keys.begin() + state_.cursor, std::move(typed));
    }
    for (std::string& key : keys) {
        std::string shown;
        for (char c : key)
            shown += c == ' ' ? std::string("␣") : std::string(1, c);
        key = std::move(shown);
    }
    feedback.zhuyin = joined(zhuyin, " ");
    feedback.rawKeys = joined(keys, " ");
    return feedback;
}

} // namespace kelvo
