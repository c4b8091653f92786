#include "Dictionary/DictionaryCheck.hpp"

#include <algorithm>

namespace kelvo {

bool hasEnoughEntries(const Lexicon& lexicon) {
    return lexicon.entryCount() > dictionaryEntryThreshold;
}

bool passesDictionaryCheck(const Lexicon& lexicon) {
    const auto& words = lexicon.unigrams("ㄋㄧˇ");
    bool hasNi =
        std::any_of(words.begin(), words.end(), [](const Unigram& word) { return word.value == "你"; });
    return hasEnoughEntries(lexicon) && hasNi;
}

} // namespace kelvo
