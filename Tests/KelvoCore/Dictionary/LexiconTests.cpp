#include "../../Support/TemporaryFolder.hpp"
#include "Dictionary/DictionaryCheck.hpp"
#include "Dictionary/Lexicon.hpp"

#include <gtest/gtest.h>

using namespace kelvo;

namespace {
std::vector<Unigram> listOf(std::span<const Unigram> unigrams) {
    return {unigrams.begin(), unigrams.end()};
}

std::vector<std::string> valuesOf(std::span<const Unigram> unigrams) {
    std::vector<std::string> values;
    for (const auto& unigram : unigrams)
        values.push_back(unigram.value);
    return values;
}

} // namespace

TEST(Lexicon, SortsEachReadingByScoreKeepingFileOrderOnTies) {
    Lexicon lexicon("ㄇㄚ 媽 -3.5\nㄇㄚ 麻 -2.0\nㄇㄚ 嗎 -3.5\nㄇㄚ 馬 -3.5\n");
    EXPECT_EQ(listOf(lexicon.unigrams("ㄇㄚ")),
              (std::vector<Unigram>{{"麻", -2.0}, {"媽", -3.5}, {"嗎", -3.5}, {"馬", -3.5}}));
}

TEST(Lexicon, GathersReadingsSpreadOverTheFile) {
    Lexicon lexicon("ㄇㄚ 媽 -3.5\nㄅㄨˋ 不 -1\nㄇㄚ 麻 -2.0\nㄅㄨˋ 布 -4\nㄇㄚ 嗎 -3.5\n");
    EXPECT_EQ(listOf(lexicon.unigrams("ㄇㄚ")),
              (std::vector<Unigram>{{"麻", -2.0}, {"媽", -3.5}, {"嗎", -3.5}}));
    EXPECT_EQ(listOf(lexicon.unigrams("ㄅㄨˋ")), (std::vector<Unigram>{{"不", -1}, {"布", -4}}));
    EXPECT_EQ(lexicon.entryCount(), 5u);
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

TEST(Lexicon, AcceptsSignsExponentsAndSpaceRuns) {
    Lexicon lexicon("  ㄧ   一  +2.5e-1  \nㄧ 衣 -1E2\nㄧ 醫 .5\nㄧ 依 -7.\n");
    EXPECT_EQ(listOf(lexicon.unigrams("ㄧ")),
              (std::vector<Unigram>{{"醫", 0.5}, {"一", 0.25}, {"依", -7}, {"衣", -100}}));
}

TEST(Lexicon, OnlyAHashInTheFirstColumnMakesAComment) {
    Lexicon lexicon("# comment with three\n#ㄅ 不 -1\n #x y 1\n");
    EXPECT_EQ(lexicon.entryCount(), 1u);
    EXPECT_EQ(listOf(lexicon.unigrams("#x")), (std::vector<Unigram>{{"y", 1}}));
    EXPECT_TRUE(lexicon.unigrams("#ㄅ").empty());
}

TEST(Lexicon, KeepsDuplicateEntries) {
    Lexicon lexicon("ㄉㄚˋ 大 -2\nㄉㄚˋ 大 -2\n");
    EXPECT_EQ(lexicon.entryCount(), 2u);
    EXPECT_EQ(valuesOf(lexicon.unigrams("ㄉㄚˋ")), (std::vector<std::string>{"大", "大"}));
}

TEST(Lexicon, MaxSpanCountsSyllablesOfTheLongestReading) {
    EXPECT_EQ(Lexicon("ㄅ 不 -1\nㄆ 怕 -1\n").maxSpan(), 1);
    EXPECT_EQ(Lexicon("ㄅ-ㄆ-ㄇ 甲乙丙 -1\nㄅ 不 -1\n").maxSpan(), 3);
    // Lines that are skipped do not count.
    EXPECT_EQ(Lexicon("ㄅ-ㄆ-ㄇ-ㄈ 甲乙丙丁\n").maxSpan(), 1);
}

TEST(Lexicon, EmptyTextAndUnknownReadings) {
    Lexicon empty("");
    EXPECT_EQ(empty.entryCount(), 0u);
    EXPECT_EQ(empty.maxSpan(), 1);
    Lexicon lexicon("\n\n# only\nㄋㄧˇ 你 -3\n");
    EXPECT_TRUE(lexicon.unigrams("").empty());
    EXPECT_TRUE(lexicon.unigrams("ㄋㄧ").empty());
    EXPECT_EQ(lexicon.unigrams("ㄋㄧˇ").size(), 1u);
}

TEST(Lexicon, CarriageReturnBeforeLineFeedEndsTheLine) {
    Lexicon lexicon("# header\r\nㄋㄧˇ 你 -3\r\n\r\nㄋㄧˇ 妳 -4\r\nㄏㄠˇ 好 -2");
    EXPECT_EQ(listOf(lexicon.unigrams("ㄋㄧˇ")), (std::vector<Unigram>{{"你", -3}, {"妳", -4}}));
    EXPECT_EQ(listOf(lexicon.unigrams("ㄏㄠˇ")), (std::vector<Unigram>{{"好", -2}}));
    EXPECT_EQ(lexicon.entryCount(), 3u);
}

TEST(Lexicon, LoadsFromFile) {
    kelvo::testing::TemporaryFolder folder;
    auto lexicon = Lexicon::contentsOf(folder.write("data.txt", "ㄋㄧˇ 你 -3\nㄋㄧˇ-ㄏㄠˇ 你好 -5\n"));
    EXPECT_EQ(lexicon->entryCount(), 2u);
    EXPECT_EQ(lexicon->maxSpan(), 2);
    EXPECT_EQ(valuesOf(lexicon->unigrams("ㄋㄧˇ-ㄏㄠˇ")), std::vector<std::string>{"你好"});
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
