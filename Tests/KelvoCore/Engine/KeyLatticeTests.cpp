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
