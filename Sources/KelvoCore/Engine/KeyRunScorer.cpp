#include "Engine/KeyRunScorer.hpp"

#include "Text/Characters.hpp"
#include "Zhuyin/DachenLayout.hpp"
#include "Zhuyin/SyllableComposer.hpp"

#include <algorithm>
#include <array>

namespace kelvo {
namespace {

// Whether letters could only be English: read as Zhuyin they overwrite a filled slot, or spell a
// syllable the dictionary has under no tone.
bool cannotBeOneSyllable(const Lexicon& lexicon, std::string_view letters) {
    auto walk = SyllableComposer::afterKeys(letters);
    if (!walk || walk->overwriteCount() > 0) return true;
    for (Syllable::Tone tone : allTones())
        if (!lexicon.unigrams(walk->display() + std::string(mark(tone))).empty()) return false;
    return true;
}

} // namespace

std::optional<Syllable> syllableInKeyOrder(std::string_view keys, std::string_view toneKey) {
    Syllable syllable;
    int lastSlot = -1;
    for (char key : keys) {
        auto component = DachenLayout::component(std::string_view(&key, 1));
        if (!component || isTone(*component)) return std::nullopt;
        int slot = static_cast<int>(component->index()); // initial, medial, final
        if (slot <= lastSlot) return std::nullopt;
        lastSlot = slot;
        if (auto* initial = std::get_if<Syllable::Initial>(&*component)) syllable.initial = *initial;
        if (auto* medial = std::get_if<Syllable::Medial>(&*component)) syllable.medial = *medial;
        if (auto* final = std::get_if<Syllable::Final>(&*component)) syllable.final = *final;
    }
    auto tone = DachenLayout::component(toneKey);
    if (lastSlot < 0 || !tone || !isTone(*tone)) return std::nullopt;
    syllable.tone = std::get<Syllable::Tone>(*tone);
    return syllable;
}

std::size_t digitValue(char digit) {
    return static_cast<std::size_t>(digit - '0');
}

// The figures of numbers beside Han characters in the Traditional Chinese documentation the
// dictionary is built from (6034 numbers among 778185 words; tools/dictionary/text-figures prints
// them): log10 of their share of the words, of their length (1, 2, 3, 4, 5 or more digits), of the
// digit of a number of one digit and of the first digit of a longer one (which is seldom 0), of each
// digit after the first (a third of them are 0), and of a decimal point.
namespace numbers {
constexpr double share = -2.11;
constexpr std::array<double, 5> length = {-0.30, -0.60, -0.97, -0.99, -1.49};
constexpr std::array<double, 10> onlyDigit = {-0.67, -0.56, -0.82, -1.07, -1.30,
                                              -1.35, -1.55, -1.47, -1.18, -1.31};
constexpr std::array<double, 10> firstDigit = {-1.15, -0.41, -0.71, -1.07, -1.31,
                                               -1.17, -1.38, -1.63, -1.64, -1.25};
constexpr double point = -0.99;
constexpr std::array<double, 10> laterDigit = {-0.52, -1.07, -0.85, -1.22, -1.22,
                                               -1.06, -1.14, -1.37, -1.30, -1.02};
} // namespace numbers

// log10 of each letter's share, a to z, of the English words beside Han characters in the same
// documentation when it stands alone (41424 words; text-figures prints them): keys, options and
// variables are named by one letter (用 S 或, 除非 N 不, c 語言).
constexpr std::array<double, 26> lettersAlone = {
    -2.35, -2.53, -2.01, -2.77, -2.68, -2.73, -3.17, -3.02, -2.44, -3.32, -3.00, -2.76, -2.85,
    -2.25, -2.41, -2.82, -3.36, -2.87, -2.55, -2.68, -2.95, -2.85, -2.95, -2.09, -2.50, -2.98};

KeyRunScorer::KeyRunScorer(const Lexicon& lexicon, const EnglishVocabulary& vocabulary,
                           const DachenKeyModel* keyModel, const EnglishVocabulary* userWords,
                           const LearnedModel* learned, const WordPairModel* wordPairs)
    : lexicon_(lexicon), vocabulary_(vocabulary), keyModel_(keyModel), userWords_(userWords),
      learned_(learned), wordPairs_(wordPairs),
      numberWord_(wordPairs ? wordPairs->word(WordPairModel::numberWord) : std::nullopt) {}

double KeyRunScorer::overwriteCost(int overwrites) {
    if (overwrites <= 0) return 0;
    return overwritePenalty + furtherOverwritePenalty * static_cast<double>(overwrites - 1);
}

double KeyRunScorer::pairFigure(std::optional<WordPairModel::Word> previous, std::string_view next) const {
    return wordPairs_->contextAfter(previous, wordPairs_->word(next));
}

double KeyRunScorer::numberScore(std::string_view digits, const std::optional<std::string>& previous) const {
    const auto count = static_cast<std::size_t>(
        std::count_if(digits.begin(), digits.end(), [](char c) { return isDigitKey(c); }));
    const auto& first = count == 1 ? numbers::onlyDigit : numbers::firstDigit;
    double score = numbers::share + numbers::length[std::min(count, numbers::length.size()) - 1] +
                   first[digitValue(digits.front())];
    for (char digit : digits.substr(1))
        if (isDigitKey(digit)) score += numbers::laterDigit[digitValue(digit)];
    if (count < digits.size()) score += numbers::point;
    if (!previous || !numberWord_) return score;
    auto words = lexicon_.unigrams(*previous);
    if (words.empty()) return score;
    return score + pairFigure(wordPairs_->word(words.front().value), WordPairModel::numberWord);
}

// The likeliest word of the reading after a number, with what the number adds to each word.
double KeyRunScorer::syllableAfterNumberScore(std::string_view reading) const {
    if (!numberWord_) return readingScore(reading);
    return likeliestWord(reading, [&](std::string_view word) { return pairFigure(numberWord_, word); });
}

// Keys of letters and digits read as one word: each run of letters a word, each digit or dot after
// one a version (python3.10) or a part of a name (md5sums, sigusr1), unless the vocabulary, the
// user's words or the user's habits know the whole (x86, bzip2).
std::optional<double> KeyRunScorer::englishScore(std::string_view keys) const {
    if (keys.empty() || !isLetterKey(keys.front())) return std::nullopt;
    std::optional<double> whole;
    if (!std::all_of(keys.begin(), keys.end(), isLetterKey)) whole = knownWordScore(lowercased(keys));
    double pieces = 0;
    for (std::size_t p = 0; p < keys.size();) {
        const std::size_t letters =
            std::find_if_not(keys.begin() + p, keys.end(), isLetterKey) - keys.begin();
        const std::size_t tail =
            std::find_if_not(keys.begin() + letters, keys.end(), isNumberKey) - keys.begin();
        if (letters == p || (tail > letters && !isDigitKey(keys[letters])) ||
            (tail == letters && tail < keys.size()))
            return whole;
        auto word = wordScore(lowercased(keys.substr(p, letters - p)));
        if (!word) return whole;
        pieces += *word + versionDigitPenalty * static_cast<double>(tail - letters);
        p = tail;
    }
    return whole ? std::max(*whole, pieces) : pieces;
}

std::optional<double> KeyRunScorer::letterScore(char letter) const {
    if (!isLetterKey(letter)) return std::nullopt;
    const std::string lower = lowercased(std::string_view(&letter, 1));
    const double alone = lettersAlone[static_cast<std::size_t>(lower[0] - 'a')] +
                         (learned_ ? learned_->englishAdjustment(lower) : 0.0);
    return std::max(alone, knownWordScore(lower).value_or(alone)); // the vocabulary's a and i
}

// A word as the vocabulary, the user's own words or the user's habits know it.
std::optional<double> KeyRunScorer::knownWordScore(const std::string& word) const {
    std::optional<double> score;
    if (auto known = vocabulary_.score(word))
        score = *known;
    else if (auto own = userWords_ ? userWords_->score(word) : std::nullopt)
        score = *own;
    else if (learned_ && learned_->knowsEnglishWord(word))
        score = learnedWordScore;
    if (score && learned_) *score += learned_->englishAdjustment(word);
    return score;
}

// Letters read as one English word: a known one, or an unlisted spelling that looks English.
std::optional<double> KeyRunScorer::wordScore(const std::string& word) const {
    if (auto known = knownWordScore(word)) return known;
    auto spelling = vocabulary_.spellingScore(word);
    if (!spelling || !looksEnglish(word, *spelling)) return std::nullopt;
    return *spelling + unknownWordPenalty + (learned_ ? learned_->englishAdjustment(word) : 0.0);
}

// An unlisted spelling is English only where Zhuyin cannot read it: its letters replace a filled slot
// or spell no syllable the dictionary has. Two letters say too little by themselves: they must also
// look more like English than like Chinese typed on the layout.
bool KeyRunScorer::looksEnglish(const std::string& word, double spelling) const {
    if (!cannotBeOneSyllable(lexicon_, word)) return false;
    if (word.size() >= 3) return true;
    auto chinese = keyModel_ ? keyModel_->score(word) : std::nullopt;
    return chinese && spelling > *chinese;
}

// The score of the likeliest word of a reading, with what the user's habits add to it.
double KeyRunScorer::readingScore(std::string_view reading) const {
    if (!learned_) { // the dictionary lists a reading's words likeliest first
        auto words = lexicon_.unigrams(reading);
        return words.empty() ? unknownReadingScore : words.front().score;
    }
    return likeliestWord(reading, [](std::string_view) { return 0.0; });
}

// The score of the likeliest word of a reading, with what the user's habits and `context` add to
// each word; where the dictionary has no word, the user's own words, or those starting with it.
template <typename Context>
double KeyRunScorer::likeliestWord(std::string_view reading, const Context& context) const {
    auto words = lexicon_.unigrams(reading);
    double best = unknownReadingScore;
    if (learned_ && words.empty()) best = learned_->wordsBeginningWith(reading).value_or(best);
    // Habits choose among a reading's words; how likely the reading is stays the dictionary's, else a
    // word chosen often makes any keys that spell its syllable look like it (f 以 for 啟).
    auto habit = [&](std::string_view word) { return learned_ ? learned_->bonus(reading, word) : 0.0; };
    for (std::size_t i = 0; i < std::min(words.size(), wordsAsked); ++i)
        best = std::max(best, std::min(words[i].score + habit(words[i].value), words.front().score) +
                                  context(words[i].value));
    if (learned_)
        for (const Unigram& own : learned_->extraWords(reading))
            best = std::max(best, own.score + habit(own.value) + context(own.value));
    return best;
}

double KeyRunScorer::syllableScore(std::string_view reading,
                                   const std::optional<std::string>& previous) const {
    double alone = readingScore(reading);
    if (!previous) return alone;
    // A word with the syllable before makes this one likelier: its probability given the first.
    std::string pair = *previous + "-" + std::string(reading);
    if (lexicon_.unigrams(pair).empty() && !learned_) return alone;
    double together = readingScore(pair);
    if (together <= unknownReadingScore) return alone;
    return std::max(alone, together - readingScore(*previous));
}

} // namespace kelvo
