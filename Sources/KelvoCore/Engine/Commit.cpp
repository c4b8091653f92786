// Ending a composition: the text it commits, formatted for the client.
#include "Engine/InputEngine.hpp"

namespace kelvo {

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
    std::string result = formatting.apply(committedText(), explicitCaseRanges());
    reset();
    if (result.empty()) return std::nullopt;
    return result;
}

} // namespace kelvo
