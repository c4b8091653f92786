#pragma once

#include "Detectors/DachenKeyModel.hpp"
#include "Detectors/EnglishVocabulary.hpp"
#include "Dictionary/Element.hpp"
#include "Dictionary/LearnedModel.hpp"
#include "Dictionary/Lexicon.hpp"
#include "Dictionary/SentenceDecoder.hpp"
#include "Dictionary/WordPairModel.hpp"
#include "Text/Characters.hpp"
#include "Zhuyin/Syllable.hpp"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvo {

// Scores the pieces a stretch of typed keys may be read as, on one log10 scale: English words by the
// vocabulary, syllables by the dictionary, with the penalties that let them compete.
class KeyRunScorer {
public:
    static constexpr double switchPenalty = -2.0;    // a change of language between neighbours
    static constexpr double overwritePenalty = -5.0; // a Zhuyin key that replaced a filled slot
    // Each further replaced slot of the same syllable: a slip corrected by typing over it happens, two
    // in one syllable are rarer than English keys the layout cannot spell (UDMA CRC, XMP, PSP).
    static constexpr double furtherOverwritePenalty = -6.0;
    // A syllable the dictionary does not have, as the sentence decoder scores it.
    static constexpr double unknownReadingScore = SentenceDecoder::unknownPenalty;
    static constexpr double unknownWordPenalty = -3.0; // English not in the vocabulary, on its spelling
    // A digit or dot after an English word: about as likely as the digits spelling a common syllable.
    static constexpr double versionDigitPenalty = -1.75;

    // Keys of one syllable typed out of the layout's order (a final before its initial): the composer
    // reads them, but they are more often digits than a syllable typed backwards.
    static constexpr double outOfOrderPenalty = -2.0;
    // A number whose last digit would complete the syllable after it (5 為 typed as ㄓㄨㄟˋ).
    static constexpr double splitSyllablePenalty = -3.0;
    // A unit after a number (35mm): units follow few of the numbers in Chinese text.
    static constexpr double unitPenalty = -1.5;

    // A word the user committed as English before, which the vocabulary lacks.
    static constexpr double learnedWordScore = -5.0;

    KeyRunScorer(const Lexicon& lexicon, const EnglishVocabulary& vocabulary, const DachenKeyModel* keyModel,
                 const EnglishVocabulary* userWords = nullptr, const LearnedModel* learned = nullptr,
                 const WordPairModel* wordPairs = nullptr);

    // What keys that replaced `overwrites` filled slots of one syllable cost it.
    static double overwriteCost(int overwrites);

    // The score of keys read as one English word, possibly with a version tail of digits and dots or
    // a name of letters and digits (md5sums); absent when they cannot be English.
    std::optional<double> englishScore(std::string_view keys) const;
    // The score of a letter key read as a letter standing alone among Chinese words (用 S 或); absent
    // for any other key.
    std::optional<double> letterScore(char letter) const;
    // Whether the vocabulary, the user's own words or the user's habits know the keys as a word.
    bool knowsWord(std::string_view keys) const { return knownWordScore(lowercased(keys)).has_value(); }
    // The score of digits (with at most one decimal point) read as a number after the syllable
    // `previous`, if any: how often a number stands among the words of Chinese text, how often one
    // of its length and digits, and how much the word before makes a number likelier (第 3, 為 0).
    double numberScore(std::string_view digits, const std::optional<std::string>& previous) const;
    // The score of a syllable's reading right after a number (3 個, 90 度).
    double syllableAfterNumberScore(std::string_view reading) const;
    // The score of one syllable's reading in the context of the syllable before it, if any: the
    // dictionary's, and the user's habits where learning is on.
    double syllableScore(std::string_view reading, const std::optional<std::string>& previous) const;

private:
    // How many of a reading's likeliest words a score asks the habits and the neighbours about: the
    // words a user chose or a context lifts are among them, and a syllable of hundreds of words then
    // costs no more than one of a few.
    static constexpr std::size_t wordsAsked = 16;

    double readingScore(std::string_view reading) const;
    template <typename Context> double likeliestWord(std::string_view reading, const Context& context) const;
    // What the pair of words `previous` `next` adds to `next`'s own score; nothing without the model.
    double pairFigure(std::optional<WordPairModel::Word> previous, std::string_view next) const;
    std::optional<double> knownWordScore(const std::string& word) const;
    std::optional<double> wordScore(const std::string& word) const;
    // Whether a spelling the vocabulary lacks is read as English at all.
    bool looksEnglish(const std::string& word, double spelling) const;

    const Lexicon& lexicon_;
    const EnglishVocabulary& vocabulary_;
    const DachenKeyModel* keyModel_;     // how Chinese typing spells keys; none to tell by syllables alone
    const EnglishVocabulary* userWords_; // words the vocabulary may lack; none without
    const LearnedModel* learned_;        // how the user took such keys before; none without learning
    const WordPairModel* wordPairs_;     // none: numbers and syllables without their neighbours
    std::optional<WordPairModel::Word> numberWord_; // the model's word for any number
};

// The syllable that keys typed in the layout's order (initial, medial, final, each at most once)
// and a tone key spell; absent for keys out of order, repeated slots or a missing tone.
std::optional<Syllable> syllableInKeyOrder(std::string_view keys, std::string_view toneKey);

} // namespace kelvo
