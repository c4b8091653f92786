// English typed on the Zhuyin keys among Chinese: whether the keys typed so far are English,
// Chinese, or English followed by one Chinese syllable, and the ranges of explicitly chosen English
// that commit-time formatting leaves alone.
#include "Engine/EnglishRunSupport.hpp"
#include "Engine/InputEngine.hpp"
#include "Text/Characters.hpp"
#include "Zhuyin/DachenLayout.hpp"

#include <algorithm>
#include <array>

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

// Words that count as English as soon as they are typed.
constexpr std::array<std::string_view, 8> englishTerms = {"api", "github", "gmail",  "macos",
                                                          "sql", "aws",    "vercel", "swift"};

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

// Letters that overwrote a slot of the syllable and spell an English word as a whole.
bool InputEngine::composerSpellsEnglishWord() const {
    auto scorer = keyRunScorer();
    const std::string& raw = composer().rawKeys();
    return scorer && composer().overwriteCount() > 0 && allASCIILetters(characterViews(raw)) &&
           scorer->englishScore(raw).has_value();
}

// Whether Space after the composer's keys more likely follows an English word than completes the
// syllable; without the vocabulary, an English hint always offers the English reading.
bool InputEngine::englishWinsAtSpace() const {
    auto scorer = keyRunScorer();
    if (!scorer) return true;
    const std::string keys = composer().rawKeys() + " ";
    auto path = KeyLattice(*scorer).best({keys, false, false, std::nullopt});
    return path && path->segments.front().kind == KeySegment::Kind::english;
}

// Letters that never got their tone are no syllable: at commit they are the English they spell.
std::optional<std::string> InputEngine::unfinishedKeysAsEnglish() const {
    const std::string& raw = composer().rawKeys();
    auto scorer = keyRunScorer();
    const auto keys = characterViews(raw);
    if (!scorer || keys.size() < 2 || !allASCIILetters(keys) || !scorer->englishScore(raw))
        return std::nullopt;
    return formattedEnglish(raw, static_cast<int>(raw.size()));
}

bool InputEngine::cleanKnownZhuyinTone(const std::string& c) const {
    const SyllableComposer& composer = this->composer();
    if (composer.isEmpty() || composer.overwriteCount() != 0) return false;
    auto component = DachenLayout::component(c);
    if (!component || !isTone(*component) || !couldStandAlone(composer.syllable())) return false;
    std::string reading = composer.display() + std::string(mark(std::get<Syllable::Tone>(*component)));
    return !lexicon_->unigrams(reading).empty();
}

bool InputEngine::isEnglishWordOrTerm(std::string_view prefix) const {
    if (std::find(englishTerms.begin(), englishTerms.end(), prefix) != englishTerms.end()) return true;
    if (settings_.formatting.preferredCapitalization &&
        (PreferredTerms::builtIn().contains(prefix) || settings_.formatting.preferredTerms.contains(prefix)))
        return true;
    return settings_.englishDetector && settings_.englishDetector->segmentedWords(prefix).has_value();
}

std::optional<int> InputEngine::englishPrefixLength(std::string_view raw) const {
    auto characters = characterViews(raw);
    if (!settings_.recognisesEnglish() || characters.size() < 2 || !allASCIILetters(characters))
        return std::nullopt;
    // The keys are read as Zhuyin alongside: while they still make a known syllable without any
    // overwritten slot, they are taken as Chinese at that length ("on" excepted).
    SyllableComposer walk;
    std::optional<int> length;
    for (std::size_t i = 0; i < characters.size(); ++i) {
        walk.press(characters[i]);
        if (i == 0) continue;
        std::string_view prefix =
            raw.substr(0, static_cast<std::size_t>(characters[i].data() - raw.data()) + 1);
        if (prefix != "on" && walk.overwriteCount() < 1 && formsKnownTone1Reading(walk.syllable())) continue;
        if (isEnglishWordOrTerm(prefix)) length = static_cast<int>(i + 1);
    }
    if (length) return length;
    if (walk.overwriteCount() > 0 && settings_.englishDetector &&
        settings_.englishDetector->hasWordPrefix(raw))
        return static_cast<int>(characters.size());
    return std::nullopt;
}

// Letters that replaced filled slots of the syllable: English when four or more replaced two slots,
// or when the lattice reads them, with what precedes them, as an English word.
bool InputEngine::isUnlistedEnglish() const {
    auto characters = characterViews(composer().rawKeys());
    if (!settings_.recognisesEnglish() || characters.size() < 2 || !allASCIILetters(characters) ||
        composer().overwriteCount() < 1)
        return false;
    return (characters.size() >= 4 && composer().overwriteCount() > 1) ||
           englishLeadsAsTyped().value_or(false);
}

bool InputEngine::acceptChineseSuffix(std::string_view raw, int boundary, const std::string& toneKey) {
    const auto characters = characterViews(raw);
    const int n = static_cast<int>(characters.size());
    if (boundary >= n) return false;
    if (isNumber(toneKey)) {
        bool digitsAndDots = true, hasDot = false;
        for (int i = boundary; i < n; ++i) {
            hasDot = hasDot || characters[i] == ".";
            digitsAndDots = digitsAndDots && (isDecimalDigit(characters[i]) || characters[i] == ".");
        }
        if (digitsAndDots && hasDot) return false; // a decimal number: the digit is no tone
    }
    for (int start = boundary; start < n; ++start) {
        if (start > boundary && !(isASCIIDigit(characters[start - 1]) || characters[start - 1] == "."))
            return false;
        SyllableComposer walk;
        bool usable = true;
        for (int i = start; i < n && usable; ++i) {
            usable =
                DachenLayout::component(characters[i]).has_value() && !DachenLayout::isToneKey(characters[i]);
            walk.press(characters[i]);
        }
        if (!usable || walk.overwriteCount() != 0) continue;
        auto composed = walk.press(toneKey);
        if (composed.kind != SyllableComposer::PressResult::Kind::composed) continue;
        std::string reading = composed.syllable.canonical();
        if (lexicon_->unigrams(reading).empty()) continue;

        state_ = Composing{}; // no syllable, held English or number run goes on
        insertLiteralCharacters(formattedEnglish(joinedCharacters(characters, 0, start), boundary));
        insertElement(Element::reading(std::move(reading)), joinedCharacters(characters, start, n) + toneKey);
        return true;
    }
    return false;
}

bool InputEngine::acceptUnlistedEnglishBeforeChinese(const std::string& toneKey) {
    if (!settings_.recognisesEnglish() || !DachenLayout::isToneKey(toneKey)) return false;
    const std::string raw = composer().rawKeys();
    const auto characters = characterViews(raw);
    const int n = static_cast<int>(characters.size());
    if (n < 4) return false;
    if (auto prefix = englishPrefixLength(raw); prefix && *prefix == n) return false;
    SyllableComposer walk;
    for (int i = 1; i <= n; ++i) {
        if (!isASCIILetter(characters[i - 1])) return false;
        walk.press(characters[i - 1]);
        if (i > 2 && i < n - 1 && walk.overwriteCount() > 1 && acceptChineseSuffix(raw, i, toneKey))
            return true;
    }
    return false;
}

bool InputEngine::formsKnownTone1Reading(const Syllable& syllable) const {
    return couldStandAlone(syllable) && !lexicon_->unigrams(syllable.display()).empty();
}

std::string InputEngine::formattedEnglish(std::string_view raw, int boundary) const {
    auto characters = characterViews(raw);
    std::size_t split =
        static_cast<std::size_t>(std::clamp(boundary, 0, static_cast<int>(characters.size())));
    std::size_t headBytes = split == characters.size()
                                ? raw.size()
                                : static_cast<std::size_t>(characters[split].data() - raw.data());
    std::string head(raw.substr(0, headBytes));
    // A word the vocabulary lists (ata) is not split into common words (at a).
    const bool listed =
        settings_.englishVocabulary && settings_.englishVocabulary->contains(lowercased(head));
    if (settings_.englishDetector && !listed) {
        if (auto words = settings_.englishDetector->segmentedWords(head)) {
            head.clear();
            for (std::size_t i = 0; i < words->size(); ++i)
                head += (i > 0 ? " " : "") + (*words)[i];
        }
    }
    return head + std::string(raw.substr(headBytes));
}

bool InputEngine::hasEnglishContext() const {
    const int cursor = composition_.cursor();
    if (cursor < 1) return false;
    const Element& before = composition_.elements()[cursor - 1];
    auto beforeCharacters = characterViews(before.text);
    if (before.kind != Element::Kind::literal || beforeCharacters.empty() ||
        !isWhitespace(beforeCharacters.back()))
        return false;
    for (int i = cursor - 1; i >= 0; --i) {
        const Element& element = composition_.elements()[i];
        auto characters = characterViews(element.text);
        bool hasText = std::any_of(characters.begin(), characters.end(),
                                   [](std::string_view c) { return !isWhitespace(c); });
        if (!hasText) continue;
        return element.kind == Element::Kind::literal && isASCIILetter(characters.back());
    }
    return false;
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
