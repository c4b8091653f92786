#include "../../Support/TemporaryFolder.hpp"
#include "Dictionary/DictionaryCheck.hpp"
#include "Dictionary/Lexicon.hpp"

#include <gtest/gtest.h>

using namespace kelvo;

namespace {
std::vector<Unigram> listOf(std::span<const Unigram> unigrams) {
    return {unigrams.begin(), unigrams.end()};
}

} // namespace

TEST(Lexicon, ReadsEachReadingsWordsBestFirstWhereverTheyStand) {
    struct Case {
        const char *text, *reading;
        std::vector<Unigram> words;
    };
    const Case cases[] = {
        // ties keep the file's order
        {"ㄇㄚ 媽 -3.5\nㄇㄚ 麻 -2.0\nㄇㄚ 嗎 -3.5\nㄇㄚ 馬 -3.5\n",
         "ㄇㄚ",
         {{"麻", -2}, {"媽", -3.5}, {"嗎", -3.5}, {"馬", -3.5}}},
        {"ㄇㄚ 媽 -3.5\nㄅㄨˋ 不 -1\nㄇㄚ 麻 -2.0\nㄅㄨˋ 布 -4\n", "ㄅㄨˋ", {{"不", -1}, {"布", -4}}},
        {"  ㄧ   一  +2.5e-1  \nㄧ 衣 -1E2\nㄧ 醫 .5\nㄧ 依 -7.\n",
         "ㄧ",
         {{"醫", 0.5}, {"一", 0.25}, {"依", -7}, {"衣", -100}}},
        {"# comment with three\n#ㄅ 不 -1\n #x y 1\n",
         "#x",
         {{"y", 1}}}, // only a hash in column one comments
        {"# comment with three\n#ㄅ 不 -1\n", "#ㄅ", {}},
        {"ㄉㄚˋ 大 -2\nㄉㄚˋ 大 -2\n", "ㄉㄚˋ", {{"大", -2}, {"大", -2}}}, // duplicates stay
        {"# header\r\nㄋㄧˇ 你 -3\r\n\r\nㄋㄧˇ 妳 -4\r\nㄏㄠˇ 好 -2", "ㄋㄧˇ", {{"你", -3}, {"妳", -4}}},
        {"\n\n# only\nㄋㄧˇ 你 -3\n", "ㄋㄧ", {}},
        {"ㄋㄧˇ 你 -3\n", "", {}},
        {"", "ㄋㄧˇ", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(listOf(Lexicon(c.text).unigrams(c.reading)), c.words) << c.text;
    EXPECT_EQ(Lexicon("ㄇㄚ 媽 -3.5\nㄅㄨˋ 不 -1\nㄇㄚ 麻 -2.0\n").entryCount(), 3u);
    EXPECT_EQ(Lexicon("").maxSpan(), 1);
}

TEST(Lexicon, SkipsMalformedLines) {
    Lexicon lexicon("ㄅㄚ 八 -1 extra\n"
                    "ㄅㄚ -1\n"
                    "ㄅㄚ 八 abc\n"
                    "ㄅㄚ 八 inf\n"
                    "ㄅㄚ 八 nan\n"
                    "ㄅㄚ 八 0x10\n"
                    "ㄅㄚ 八 -1.5x\n"
                    "ㄅㄚ 八 --1\n"
                    "ㄅㄚ\t八 -1\n"
                    "ㄅㄚ 巴 -4.25\n");
    EXPECT_EQ(lexicon.entryCount(), 1u);
    EXPECT_EQ(listOf(lexicon.unigrams("ㄅㄚ")), (std::vector<Unigram>{{"巴", -4.25}}));
    EXPECT_TRUE(lexicon.unigrams("ㄅㄚ\t八").empty()); // the tab is part of the field, so two fields
}

TEST(Lexicon, MaxSpanCountsSyllablesOfTheLongestReading) {
    EXPECT_EQ(Lexicon("ㄅ 不 -1\nㄆ 怕 -1\n").maxSpan(), 1);
    EXPECT_EQ(Lexicon("ㄅ-ㄆ-ㄇ 甲乙丙 -1\nㄅ 不 -1\n").maxSpan(), 3);
    // Lines that are skipped do not count.
    EXPECT_EQ(Lexicon("ㄅ-ㄆ-ㄇ-ㄈ 甲乙丙丁\n").maxSpan(), 1);
}

TEST(Lexicon, FailsOnMissingOrNonUTF8File) {
    EXPECT_THROW(Lexicon::contentsOf("/nonexistent/kelvo/data.txt"), LexiconError);
    kelvo::testing::TemporaryFolder folder;
    auto latin1 = folder.write("latin1.txt", "ㄋㄧˇ 你 -3\ncaf\xE9 x -1\n");
    try {
        Lexicon::contentsOf(latin1);
        FAIL() << "a Latin-1 file must not load";
    } catch (const LexiconError& error) {
        EXPECT_NE(std::string(error.what()).find("not valid UTF-8 (byte 19)"), std::string::npos)
            << error.what();
    }
    EXPECT_THROW(Lexicon::contentsOf(folder.write("truncated.txt", "ㄋㄧˇ 你 -3\n\xE4\xBD")), LexiconError);
    EXPECT_THROW(Lexicon::contentsOf(folder.root()), LexiconError);
}

TEST(DictionaryCheck, NeedsMoreThanThresholdEntriesAndNiForNi3) {
    std::string text;
    for (std::size_t i = 0; i < dictionaryEntryThreshold - 1; ++i)
        text += "ㄅ x -1\n";
    Lexicon exactlyThreshold(text + "ㄋㄧˇ 你 -1\n");
    EXPECT_EQ(exactlyThreshold.entryCount(), dictionaryEntryThreshold);
    EXPECT_FALSE(hasEnoughEntries(exactlyThreshold));
    EXPECT_FALSE(passesDictionaryCheck(exactlyThreshold));

    Lexicon oneMore(text + "ㄋㄧˇ 你 -1\nㄋㄧˇ 妳 -1\n");
    EXPECT_TRUE(passesDictionaryCheck(oneMore));

    Lexicon withoutNi(text + "ㄋㄧˇ 妳 -1\nㄋㄧˇ 擬 -1\n");
    EXPECT_TRUE(hasEnoughEntries(withoutNi));
    EXPECT_FALSE(passesDictionaryCheck(withoutNi));
}
