// English typed on the Zhuyin keys among Chinese. Until the recognition of English runs is built,
// its predicates answer "not English", as with automatic English switched off, so keys follow the
// Zhuyin path; the Zhuyin-side tests, the formatting of English and its protected ranges are
// complete.
#include "Engine/InputEngine.hpp"
#include "Text/Characters.hpp"
#include "Zhuyin/DachenLayout.hpp"

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

} // namespace

InputEngine::MaybeOutput InputEngine::handleBufferedEnglish(const KeyInput&) {
    return std::nullopt;
}

bool InputEngine::cleanKnownZhuyinTone(const std::string& c) const {
    const SyllableComposer& composer = state_.composer;
    if (composer.isEmpty() || composer.overwriteCount() != 0) return false;
    auto component = DachenLayout::component(c);
    if (!component || !isTone(*component) || !couldStandAlone(composer.syllable())) return false;
    std::string reading = composer.display() + std::string(mark(std::get<Syllable::Tone>(*component)));
    return !lexicon_->unigrams(reading).empty();
}

std::optional<int> InputEngine::englishPrefixLength(std::string_view) const {
    return std::nullopt;
}

bool InputEngine::isUnlistedEnglish() const {
    return false;
}

bool InputEngine::acceptChineseSuffix(std::string_view, int, const std::string&) {
    return false;
}

bool InputEngine::acceptUnlistedEnglishBeforeChinese(const std::string&) {
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
    if (englishDetector) {
        if (auto words = englishDetector->segmentedWords(head)) {
            head.clear();
            for (std::size_t i = 0; i < words->size(); ++i)
                head += (i > 0 ? " " : "") + (*words)[i];
        }
    }
    return head + std::string(raw.substr(headBytes));
}

bool InputEngine::hasEnglishContext() const {
    const int cursor = state_.cursor;
    if (cursor < 1) return false;
    const Element& before = state_.elements[cursor - 1];
    auto beforeCharacters = characterViews(before.text);
    if (before.kind != Element::Kind::literal || beforeCharacters.empty() ||
        !isWhitespace(beforeCharacters.back()))
        return false;
    for (int i = cursor - 1; i >= 0; --i) {
        const Element& element = state_.elements[i];
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
        if (i == state_.cursor) offset += utf16Length(pendingText());
        std::size_t length = utf16Length(texts[i]);
        if (state_.explicitEnglishCase.contains(i) && length > 0)
            ranges.push_back(UTF16Range{offset, offset + length});
        offset += length;
    }
    return ranges;
}

} // namespace kelvo
