#pragma once

#include "Detectors/EnglishVocabulary.hpp"
#include "Dictionary/Element.hpp"
#include "Dictionary/LearnedModel.hpp"
#include "Dictionary/Lexicon.hpp"
#include "Zhuyin/SyllableComposer.hpp"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvo {

// What the keys typed since the last element most likely were when a tone key ends them: one
// Zhuyin syllable, an English word followed by one syllable, or English alone (the tone key then
// being a digit of a version or the Space after a word). Each reading is scored by the log10
// probabilities of the dictionary and the English vocabulary, less a penalty for switching
// language, so that the readings compete on one scale.
struct KeyRunReading {
    enum class Kind { zhuyin, englishThenSyllable, english };
    Kind kind = Kind::zhuyin;
    int englishLength = 0; // keys of the English word (englishThenSyllable)
    std::string reading;   // the syllable's canonical reading (englishThenSyllable)
    double score = 0;
};

class KeyRunScorer {
public:
    static constexpr double switchPenalty = -2.0;        // a change of language between neighbours
    static constexpr double overwritePenalty = -4.0;     // a Zhuyin key that replaced a filled slot
    static constexpr double unknownReadingScore = -17.0; // a syllable the dictionary does not have
    static constexpr double unknownWordPenalty = -3.0;   // English not in the vocabulary, on its spelling
    // A digit or dot after an English word: about as likely as the digits spelling a common syllable.
    static constexpr double versionDigitPenalty = -1.75;

    // A word the user committed as English before, which the vocabulary lacks.
    static constexpr double learnedWordScore = -5.0;

    KeyRunScorer(const Lexicon& lexicon, const EnglishVocabulary& vocabulary,
                 std::optional<std::string> previousReading, const EnglishVocabulary* userWords = nullptr,
                 const LearnedModel* learned = nullptr)
        : lexicon_(lexicon), vocabulary_(vocabulary), userWords_(userWords), learned_(learned),
          previousReading_(std::move(previousReading)) {}

    // The best reading of the composer's keys ended by `toneKey`.
    KeyRunReading best(const SyllableComposer& composer, std::string_view toneKey) const;
    // The best reading of held keys (English, perhaps with digits or separators) ended by `toneKey`:
    // English alone, or English followed by one syllable.
    KeyRunReading bestOfHeld(std::string_view keys, std::string_view toneKey) const;

    // The score of keys read as one English word, possibly with a version tail of digits and dots;
    // absent when they cannot be English.
    std::optional<double> englishScore(std::string_view keys) const;
    // The score of one syllable's reading in the context of the syllable before it.
    double syllableScore(std::string_view reading) const;

private:
    // `best` starts from the reading given; the English readings of the keys compete with it.
    KeyRunReading bestEnglishReading(std::string_view raw, std::string_view toneKey,
                                     KeyRunReading best) const;

    const Lexicon& lexicon_;
    const EnglishVocabulary& vocabulary_;
    const EnglishVocabulary* userWords_; // words the vocabulary may lack; none without
    const LearnedModel* learned_;        // how the user took such keys before; none without learning
    std::optional<std::string> previousReading_;
};

// The syllable that keys typed in the layout's order (initial, medial, final, each at most once)
// and a tone key spell; absent for keys out of order, repeated slots or a missing tone.
std::optional<Syllable> syllableInKeyOrder(std::string_view keys, std::string_view toneKey);

} // namespace kelvo
