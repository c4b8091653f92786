#include "Engine/WordReading.hpp"
#include "EngineTestSupport.hpp"

using namespace kelvo;

namespace {

// A few words of each kind, so that each row below turns on one rule of the lattice, not on the
// figures of the bundled data.
const Lexicon fixtureLexicon("ㄋㄧˇ 你 -2.5\nㄏㄠˇ 好 -3\nㄏㄠˇ 號 -3.2\nㄋㄧˇ-ㄏㄠˇ 你好 -3.5\n"
                             "ㄉㄜ˙ 的 -1.5\nㄍㄜ˙ 個 -2.5\n");
const EnglishVocabulary fixtureVocabulary("hello -3\nhelp -3.5\npython -4.5\n");

std::string bestPathOf(std::string_view keys) {
    static const KeyRunScorer scorer(fixtureLexicon, fixtureVocabulary, nullptr);
    return kelvo::testing::bestPathOf(scorer, {keys, false, false, std::nullopt});
}

} // namespace

TEST(KeyLattice, EachRuleDecidesOnAFixtureDictionary) {
    const std::pair<const char*, const char*> rows[] = {
        {"su3cl3", "ㄋㄧˇ|ㄏㄠˇ"},
        {"hellosu3", "hello|ㄋㄧˇ"},     // a listed word before a syllable
        {"hello su3", "hello| |ㄋㄧˇ"},  // the Space that ends a word
        {"python3su3", "python3|ㄋㄧˇ"}, // digits after a word are its version
        {"helpsu3", "help|ㄋㄧˇ"},       // as Zhuyin its keys replace two filled slots
        {"36ek7", "36|ㄍㄜ˙"},           // tone keys cannot start a syllable: a number
        {"2k7", "ㄉㄜ˙"},                // a digit that is an initial, in the layout's order
        {"2ek7", "2|ㄍㄜ˙"},             // ㄍ would replace ㄉ: the digit was meant
    };
    for (const auto& [keys, expected] : rows)
        EXPECT_EQ(bestPathOf(keys), expected) << keys;
}

// The lattice scores a syllable with the one before it; the words the syllables make, read again
// over its likeliest readings, may move where English ends.
TEST(KeyLattice, TheWordsOfItsLikeliestReadingsDecideAmongThem) {
    const EnglishVocabulary vocabulary("a -2\nar -6\n");
    const KeyLattice::Stretch stretch{"aru8 nji 2;3", true, false, std::nullopt};
    const std::string syllables =
        "ㄐㄧㄚ 加 -3.4\nㄧㄚ 壓 -4\nㄙㄨㄛ 縮 -3.6\nㄧㄚ-ㄙㄨㄛ 壓縮 -3.6\nㄉㄤˇ 檔 -2.9\n";
    // The lattice's best reading, and the reading in words.
    const auto readings = [&](const std::string& words) {
        const auto lexicon = std::make_shared<const Lexicon>(words);
        const KeyRunScorer scorer(*lexicon, vocabulary, nullptr);
        const auto inWords = likeliestInWords(KeyLattice(scorer).likeliest(stretch, readingsReadInWords),
                                              std::nullopt, SentenceDecoder(lexicon), nullptr);
        return std::pair(kelvo::testing::bestPathOf(scorer, stretch),
                         kelvo::testing::textOf(inWords, stretch.keys));
    };
    EXPECT_EQ(readings(syllables),
              std::pair(std::string("a|ㄐㄧㄚ|ㄙㄨㄛ|ㄉㄤˇ"), std::string("a|ㄐㄧㄚ|ㄙㄨㄛ|ㄉㄤˇ")));
    EXPECT_EQ(readings(syllables + "ㄧㄚ-ㄙㄨㄛ-ㄉㄤˇ 壓縮檔 -4\n"),
              std::pair(std::string("a|ㄐㄧㄚ|ㄙㄨㄛ|ㄉㄤˇ"), std::string("ar|ㄧㄚ|ㄙㄨㄛ|ㄉㄤˇ")));
}
