// Where an English word typed among Zhuyin keys ends is decided again when the syllables after it
// arrive: the pair they make may move the boundary (smart 資料 rather than smarty 料, xps 文件 rather
// than xp 黁件).
#include "Engine/InputEngine.hpp"
#include "Text/Characters.hpp"
#include "Zhuyin/DachenLayout.hpp"

#include <algorithm>
#include <cctype>

namespace kelvo {
namespace {

bool isToneKey(char key) {
    auto component = DachenLayout::component(std::string_view(&key, 1));
    return component && isTone(*component);
}

// A typed key of an English run: a lower-case letter or a digit (capitals were chosen as English).
bool isRunKey(const Element& element) {
    return !element.isReading() && element.text.size() == 1 &&
           ((element.text[0] >= 'a' && element.text[0] <= 'z') ||
            (element.text[0] >= '0' && element.text[0] <= '9'));
}

// One reading of the keys: English, perhaps the Space after it, then syllables.
struct BoundaryReading {
    std::string english;
    bool spaced = false;
    std::vector<std::pair<std::string, std::string>> syllables; // reading and keys
    double score = 0;
};

} // namespace

// The syllables the keys spell, split at their tone keys, each typed in the layout's order; none
// when any is not a syllable the dictionary has.
std::optional<std::vector<std::pair<std::string, std::string>>>
InputEngine::syllablesOfKeys(std::string_view keys) const {
    std::vector<std::pair<std::string, std::string>> syllables;
    std::size_t start = 0;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (!isToneKey(keys[i])) continue;
        auto syllable = syllableInKeyOrder(keys.substr(start, i - start), keys.substr(i, 1));
        if (!syllable || lexicon_->unigrams(syllable->canonical()).empty()) return std::nullopt;
        syllables.emplace_back(syllable->canonical(), std::string(keys.substr(start, i + 1 - start)));
        start = i + 1;
    }
    if (start != keys.size() || syllables.empty()) return std::nullopt;
    return syllables;
}

void InputEngine::reviseEnglishBoundary() {
    auto scorer = keyRunScorer();
    const int end = composition_.cursor();
    const auto& elements = composition_.elements();
    if (!scorer || end < 1 || !elements[end - 1].isReading()) return;
    // The syllable just composed, and one before it; then the Space after the English, if typed.
    int first = end - 1;
    if (first > 0 && elements[first - 1].isReading()) --first;
    int runEnd = first;
    const bool spaced = runEnd > 0 && !elements[runEnd - 1].isReading() && elements[runEnd - 1].text == " ";
    if (spaced) --runEnd;
    int runStart = runEnd;
    while (runStart > 0 && isRunKey(elements[runStart - 1]) &&
           !composition_.explicitCase().contains(runStart - 1))
        --runStart;
    if (runEnd - runStart < 2 || !std::isalpha(static_cast<unsigned char>(elements[runStart].text[0])))
        return;
    // Words an earlier segmentation split (thank you) are not read again, nor anything chosen.
    if (runStart > 1 && elements[runStart - 1].text == " " && isRunKey(elements[runStart - 2])) return;
    for (const DecodedSegment& pin : composition_.pins())
        if (pin.end() > runStart && pin.start < end) return;

    std::string run, syllableKeys;
    for (int i = runStart; i < runEnd; ++i)
        run += elements[i].text;
    for (int i = first; i < end; ++i)
        syllableKeys += composition_.keys()[i];
    const std::string keys = run + (spaced ? " " : "") + syllableKeys;

    auto scored = [&](std::string english, bool space,
                      std::string_view rest) -> std::optional<BoundaryReading> {
        auto englishScore = scorer->englishScore(english);
        auto syllables = syllablesOfKeys(rest);
        if (!englishScore || !syllables) return std::nullopt;
        BoundaryReading reading{std::move(english), space, std::move(*syllables), *englishScore};
        std::optional<std::string> previous;
        for (const auto& [syllable, typed] : reading.syllables) {
            reading.score +=
                KeyRunScorer(*lexicon_, *settings_.englishVocabulary, previous).syllableScore(syllable);
            previous = syllable;
        }
        return reading;
    };
    auto current = scored(run, spaced, syllableKeys);
    if (!current) return; // the syllables were typed with overwrites: they stay as the user saw them
    BoundaryReading best = *current;
    for (std::size_t split = 1; split < keys.size(); ++split) {
        if (keys[split - 1] == ' ') break; // English never holds the Space
        const bool space = keys[split] == ' ';
        auto reading =
            scored(keys.substr(0, split), space, std::string_view(keys).substr(split + (space ? 1 : 0)));
        if (reading && reading->score > best.score) best = std::move(*reading);
    }
    if (best.english == current->english && best.spaced == current->spaced) return;

    for (int i = end; i > runStart; --i)
        composition_.removeBeforeCursor();
    for (char c : best.english)
        composition_.insert(Element::literal(std::string(1, c)));
    if (best.spaced) composition_.insert(Element::literal(" "));
    for (auto& [syllable, typed] : best.syllables)
        composition_.insert(Element::reading(syllable), typed);
    redecode();
}

} // namespace kelvo
