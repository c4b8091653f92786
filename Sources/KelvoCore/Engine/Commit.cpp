// Ending a composition: the choices and word sequences it teaches the learned data, and the text it
// commits, formatted for the client; and attaching the learned data.
#include "Engine/InputEngine.hpp"
#include "Engine/LearnedDataHooks.hpp"

namespace kelvo {
namespace {

bool sameWord(const DecodedSegment& a, const DecodedSegment& b) {
    return a.start == b.start && a.length == b.length && a.value == b.value;
}

bool isPinned(const std::vector<DecodedSegment>& pins, const DecodedSegment& segment) {
    return std::any_of(pins.begin(), pins.end(),
                       [&](const DecodedSegment& pin) { return sameWord(pin, segment); });
}

constexpr std::size_t shortestAssembledWord = 2;
constexpr std::size_t longestAssembledWord = 6;

} // namespace

std::string InputEngine::committedText() const {
    const std::vector<std::string> texts = elementTexts();
    std::string text;
    for (int i = 0; i < static_cast<int>(texts.size()); ++i) {
        if (i == state_.cursor) text += pendingText();
        text += texts[i];
    }
    if (state_.cursor >= static_cast<int>(texts.size())) text += pendingText();
    return text;
}

std::optional<std::string> InputEngine::flush() {
    if (automaticNumberReady()) acceptNumber();
    if (*learningEnabled_ && userPhrases_) {
        for (const DecodedSegment& pin : state_.pins)
            if (pin.reading && std::any_of(state_.walked.begin(), state_.walked.end(),
                                           [&](const DecodedSegment& s) { return sameWord(s, pin); }))
                userPhrases_->bump(*pin.reading, pin.value);
    }
    learnPinnedWords();
    if (*learningEnabled_ && state_.composer.isEmpty()) learnSequences();
    std::string result = formatting.apply(committedText(), explicitCaseRanges());
    reset();
    if (result.empty()) return std::nullopt;
    return result;
}

// Characters the user picked one by one, side by side, are proposed as a word.
void InputEngine::learnPinnedWords() {
    if (!*learningEnabled_ || !userPhrases_) return;
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
    for (const DecodedSegment& segment : state_.walked) {
        if (isPinned(state_.pins, segment) && segment.length == 1 && segment.reading)
            run.push_back(&segment);
        else
            closeRun();
    }
    closeRun();
}

// Words committed one after another; a literal or English segment starts a new sequence.
void InputEngine::learnSequences() {
    std::vector<std::string> run;
    for (const DecodedSegment& segment : state_.walked) {
        if (segment.reading) {
            run.push_back(segment.value);
            continue;
        }
        if (userPhrases_) userPhrases_->noteCommit(run);
        run.clear();
    }
    if (userPhrases_) userPhrases_->noteCommit(run);
}

void InputEngine::setLearningEnabled(bool enabled) {
    if (enabled == *learningEnabled_) return;
    *learningEnabled_ = enabled;
    redecode();
}

void InputEngine::setUserPhrases(std::shared_ptr<UserPhraseStore> store) {
    userPhrases_ = std::move(store);
    if (userPhrases_)
        installLearnedDataHooks(decoder_, userPhrases_, learningEnabled_);
    else
        removeLearnedDataHooks(decoder_);
    redecode();
}

} // namespace kelvo
