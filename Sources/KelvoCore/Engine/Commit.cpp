// Ending a composition: the choices and word sequences it teaches the learned data, and the text it
// commits, formatted for the client.
#include "Engine/InputEngine.hpp"

#include <algorithm>

namespace kelvo {
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

// What is typed but not yet an element, as it is committed.
std::string InputEngine::committedPendingText() const {
    return unfinishedKeysAsEnglish().value_or(pendingText());
}

std::optional<std::string> InputEngine::flush() {
    presentation_.reset();
    if (automaticNumberReady()) acceptNumber();
    if (settings_.learning && userPhrases_) {
        learnChoices();
        learnPinnedWords();
        if (composer().isEmpty()) learnSequences();
    }
    std::string result = settings_.formatting.apply(committedText(), explicitCaseRanges());
    reset();
    presentation_.reset();
    if (result.empty()) return std::nullopt;
    return result;
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
