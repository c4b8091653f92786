// Ending a composition: the choices and word sequences it teaches the learned data, and the text it
// commits, formatted for the client.
#include "Engine/InputEngine.hpp"
#include "Text/Characters.hpp"

#include <algorithm>

namespace kelvo {
namespace {

// The words of letters alone, two to 32 of them, in a committed text.
std::vector<std::string_view> englishWordsIn(std::string_view text) {
    std::vector<std::string_view> words;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        const bool letter = i < text.size() && isLetterKey(text[i]);
        if (letter) continue;
        const bool wholeWord = i == text.size() || text[i] == ' ';
        if (wholeWord && i - start >= 2 && i - start <= 32 && (start == 0 || text[start - 1] == ' '))
            words.push_back(text.substr(start, i - start));
        start = i + 1;
    }
    return words;
}

} // namespace

namespace {

bool sameWord(const DecodedSegment& a, const DecodedSegment& b) {
    return a.start == b.start && a.length == b.length && a.value == b.value;
}

bool contains(const std::vector<DecodedSegment>& segments, const DecodedSegment& segment) {
    return std::any_of(segments.begin(), segments.end(),
                       [&](const DecodedSegment& other) { return sameWord(other, segment); });
}

constexpr std::size_t shortestAssembledWord = 2;
constexpr std::size_t longestAssembledWord = 6;

} // namespace

std::string InputEngine::committedText() const {
    const std::vector<std::string> texts = elementTexts();
    const std::string pending = committedPendingText();
    std::string text;
    for (int i = 0; i < static_cast<int>(texts.size()); ++i) {
        if (i == composition_.cursor()) text += pending;
        text += texts[i];
    }
    if (composition_.cursorAtEnd()) text += pending;
    return text;
}

// What is typed but not yet an element, as it is committed, with the Space that opened a list.
std::string InputEngine::committedPendingText() const {
    const auto* list = std::get_if<BilingualSheet>(&state_);
    const std::string space = list && list->endsWithSpace ? " " : "";
    return unfinishedKeysAsEnglish().value_or(pendingText()) + space;
}

std::string InputEngine::formattedCommittedText() const {
    return settings_.formatting.apply(committedText(), explicitCaseRanges());
}

std::optional<std::string> InputEngine::flush() {
    presentation_.reset();
    if (automaticNumberReady()) acceptNumber();
    if (settings_.learning && userPhrases_) {
        learnChoices();
        learnPinnedWords();
        if (composer().isEmpty()) learnSequences();
        learnEnglishWords();
    }
    std::string result = formattedCommittedText();
    reset();
    presentation_.reset();
    if (result.empty()) return std::nullopt;
    return result;
}

// Keys still typed are committed as flush takes them: a ready number as the number, letters that
// never got their tone as English; the marked text may show them otherwise until then (optarㄕ).
std::optional<std::string> InputEngine::textToCommit() const {
    InputEngine settled = *this;
    if (settled.automaticNumberReady()) settled.acceptNumber();
    std::string text = settled.formattedCommittedText();
    if (text.empty()) return std::nullopt;
    return text;
}

// Every pin the sentence still shows was a choice.
void InputEngine::learnChoices() {
    for (const DecodedSegment& pin : composition_.pins())
        if (pin.reading && contains(decoded_, pin)) userPhrases_->bump(*pin.reading, pin.value);
}

// Characters the user picked one by one, side by side, are proposed as a word.
void InputEngine::learnPinnedWords() {
    std::vector<const DecodedSegment*> run;
    auto closeRun = [&] {
        if (run.size() >= shortestAssembledWord && run.size() <= longestAssembledWord) {
            std::string reading, value;
            for (const DecodedSegment* segment : run) {
                if (!reading.empty()) reading += '-';
                reading += *segment->reading;
                value += segment->value;
            }
            userPhrases_->noteWordCandidate(reading, value);
        }
        run.clear();
    };
    for (const DecodedSegment& segment : decoded_) {
        if (contains(composition_.pins(), segment) && segment.length == 1 && segment.reading)
            run.push_back(&segment);
        else
            closeRun();
    }
    closeRun();
}

// English words committed become words of the user's, likelier as English the next time: the
// English segments, and English still held or pending when the composition is committed.
void InputEngine::learnEnglishWords() {
    auto learn = [&](std::string_view text) {
        for (std::string_view word : englishWordsIn(text))
            userPhrases_->noteEnglishReading(lowercased(word), true);
    };
    std::string literal; // literal segments hold a character each
    for (const DecodedSegment& segment : decoded_) {
        if (!segment.reading) {
            literal += segment.value;
            continue;
        }
        learn(literal);
        literal.clear();
    }
    learn(composition_.cursorAtEnd() ? literal + committedPendingText() : literal);
}

// Words committed one after another; a literal or English segment starts a new sequence.
void InputEngine::learnSequences() {
    std::vector<std::string> run;
    for (const DecodedSegment& segment : decoded_) {
        if (segment.reading) {
            run.push_back(segment.value);
            continue;
        }
        userPhrases_->noteCommit(run);
        run.clear();
    }
    userPhrases_->noteCommit(run);
}

} // namespace kelvo
