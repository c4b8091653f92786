// English typed on the Zhuyin keys among Chinese: the scorer the lattice reads keys with, what Space
// and a commit make of English keys, how they are written, and the ranges of explicitly chosen
// English that commit-time formatting leaves alone.
#include "Engine/InputEngine.hpp"
#include "Text/Characters.hpp"
#include "Zhuyin/DachenLayout.hpp"

#include <algorithm>

namespace kelvo {
namespace {

// The only initials that make a syllable without medial or final: ㄓ ㄔ ㄕ ㄖ ㄗ ㄘ ㄙ.
bool isStandaloneInitial(std::optional<Syllable::Initial> initial) {
    using I = Syllable::Initial;
    return initial && (*initial == I::zh || *initial == I::ch || *initial == I::sh || *initial == I::r ||
                       *initial == I::z || *initial == I::c || *initial == I::s);
}

bool couldStandAlone(const Syllable& syllable) {
    return syllable.medial || syllable.final || isStandaloneInitial(syllable.initial);
}

bool allASCIILetters(const std::vector<std::string_view>& characters) {
    return std::all_of(characters.begin(), characters.end(), isASCIILetter);
}

} // namespace

// Scores readings of keys against each other; none without the English vocabulary or with English
// recognition off.
std::optional<KeyRunScorer> InputEngine::keyRunScorer() const {
    if (!settings_.recognisesEnglish() || !settings_.englishVocabulary) return std::nullopt;
    return KeyRunScorer(*lexicon_, *settings_.englishVocabulary, keyModel_.get(),
                        settings_.userVocabulary.get(), learnedModel(), decoder_.wordPairs.get());
}

// Keys that Space ends and the lattice reads as English where the choice is close: an English
// spelling that no list has, whole or as words run together (zq, crc), or keys that are also a clean
// known syllable (ru, ㄐㄧ). Space then offers them in the bilingual list, English first.
bool InputEngine::offersEnglishAtSpace(bool cleanSyllable) const {
    auto scorer = keyRunScorer();
    const std::string& raw = composer().rawKeys();
    if (!scorer || !englishHint()) return false;
    const bool listed = scorer->knowsWord(raw) ||
                        (settings_.englishDetector && settings_.englishDetector->segmentedWords(raw));
    if (listed && !cleanSyllable) return false;
    return englishKeysAtCursor(" ") == raw.size();
}

// Letters that never got their tone are no syllable: at commit they are the English they spell.
std::optional<std::string> InputEngine::unfinishedKeysAsEnglish() const {
    const std::string& raw = composer().rawKeys();
    auto scorer = keyRunScorer();
    const auto keys = characterViews(raw);
    if (!scorer || keys.size() < 2 || !allASCIILetters(keys) || !scorer->englishScore(raw))
        return std::nullopt;
    return formattedEnglish(raw);
}

bool InputEngine::cleanKnownZhuyinTone(const std::string& c) const {
    const SyllableComposer& composer = this->composer();
    if (composer.isEmpty() || composer.overwriteCount() != 0) return false;
    auto component = DachenLayout::component(c);
    if (!component || !isTone(*component) || !couldStandAlone(composer.syllable())) return false;
    std::string reading = composer.display() + std::string(mark(std::get<Syllable::Tone>(*component)));
    return !lexicon_->unigrams(reading).empty();
}

bool InputEngine::formsKnownTone1Reading(const Syllable& syllable) const {
    return couldStandAlone(syllable) && !lexicon_->unigrams(syllable.display()).empty();
}

// English keys as committed: the letters before any version split into the words they run together
// (thankyou), unless the vocabulary lists them whole (ata, not at a).
std::string InputEngine::formattedEnglish(std::string_view keys) const {
    const std::size_t letters =
        static_cast<std::size_t>(std::find_if_not(keys.begin(), keys.end(), isLetterKey) - keys.begin());
    std::string head(keys.substr(0, letters));
    const bool listed =
        settings_.englishVocabulary && settings_.englishVocabulary->contains(lowercased(head));
    if (settings_.englishDetector && !listed) {
        if (auto words = settings_.englishDetector->segmentedWords(head)) {
            head.clear();
            for (std::size_t i = 0; i < words->size(); ++i)
                head += (i > 0 ? " " : "") + (*words)[i];
        }
    }
    return head + std::string(keys.substr(letters));
}

// The composer's keys end as the English they spell, followed by `after`, one element per character.
void InputEngine::insertComposerAsEnglish(std::string_view after) {
    const std::string text = formattedEnglish(composer().rawKeys()) + std::string(after);
    clearComposer();
    insertLiteralCharacters(text);
}

std::vector<UTF16Range> InputEngine::explicitCaseRanges() const {
    std::vector<UTF16Range> ranges;
    const std::vector<std::string> texts = elementTexts();
    std::size_t offset = 0;
    for (int i = 0; i < static_cast<int>(texts.size()); ++i) {
        if (i == composition_.cursor()) offset += utf16Length(committedPendingText());
        std::size_t length = utf16Length(texts[i]);
        if (composition_.explicitCase().contains(i) && length > 0)
            ranges.push_back(UTF16Range{offset, offset + length});
        offset += length;
    }
    return ranges;
}

} // namespace kelvo
