#include "PersonalData/LearnedData.hpp"
#include "PersonalData/LearnedDataFormat.hpp"

#include <gtest/gtest.h>

using namespace kelvo;
using Kind = LearnedEntry::Kind;
using Change = LearnedChange;

namespace {

Change at(std::int64_t time, decltype(Change::what) what) {
    return Change{std::move(what), time};
}

std::int64_t countOf(const LearnedData::Table& table, const std::string& key, const std::string& value) {
    auto row = table.find(key);
    if (row == table.end()) return 0;
    auto found = row->second.find(value);
    return found == row->second.end() ? 0 : found->second.count;
}

// A name with a number, built piecewise (GCC 12 warns falsely about `"a" + std::to_string(n)`).
std::string numbered(const char* prefix, std::size_t n) {
    std::string name(prefix);
    name += std::to_string(n);
    return name;
}

} // namespace

TEST(LearnedData, ARemovalOutranksEveryEarlierChangeButNoLaterOne) {
    LearnedData data;
    apply(data, at(10, Change::Choice{"ㄇㄚ", "媽"}));
    apply(data, at(20, Change::Removal{Kind::selection, "ㄇㄚ", "媽"}));
    EXPECT_EQ(countOf(data.selections, "ㄇㄚ", "媽"), 0);
    // Another process learned it before the removal but merges it after: it stays removed.
    apply(data, at(15, Change::Choice{"ㄇㄚ", "媽"}));
    apply(data, at(20, Change::Choice{"ㄇㄚ", "媽"}));
    EXPECT_EQ(countOf(data.selections, "ㄇㄚ", "媽"), 0);
    apply(data, at(21, Change::Choice{"ㄇㄚ", "媽"}));
    EXPECT_EQ(countOf(data.selections, "ㄇㄚ", "媽"), 1);

    apply(data, at(30, Change::Sequence{{"你", "好", "嗎"}}));
    apply(data, at(31, Change::Removal{Kind::transition, "你", "好"}));
    apply(data, at(29, Change::Sequence{{"你", "好", "嗎"}}));
    EXPECT_EQ(countOf(data.transitions, "你", "好"), 0);
    EXPECT_EQ(countOf(data.transitions, "好", "嗎"), 2);

    apply(data, at(40, Change::WordReport{"ㄅ-ㄆ", "不怕"}));
    apply(data, at(41, Change::WordReport{"ㄅ-ㄆ", "不怕"}));
    EXPECT_EQ(countOf(data.words, "ㄅ-ㄆ", "不怕"), 2);
    apply(data, at(42, Change::Removal{Kind::word, "ㄅ-ㄆ", "不怕"}));
    apply(data, at(41, Change::WordReport{"ㄅ-ㄆ", "不怕"}));
    EXPECT_EQ(countOf(data.words, "ㄅ-ㄆ", "不怕"), 0);
}

TEST(LearnedData, ClearingErasesEverythingLearnedBeforeIt) {
    LearnedData data;
    apply(data, at(10, Change::Choice{"ㄇㄚ", "媽"}));
    apply(data, at(11, Change::Removal{Kind::selection, "ㄅ", "不"}));
    apply(data, at(50, Change::Clearing{}));
    apply(data, at(40, Change::Choice{"ㄇㄚ", "媽"})); // learned elsewhere before the clearing
    apply(data, at(30, Change::Clearing{}));           // an older clearing keeps the later time
    EXPECT_EQ(data.selections.size(), 0u);
    EXPECT_TRUE(data.removed.empty());
    EXPECT_EQ(data.clearedAt, 50);
    apply(data, at(51, Change::Choice{"ㄇㄚ", "媽"}));
    EXPECT_EQ(countOf(data.selections, "ㄇㄚ", "媽"), 1);
}

TEST(LearnedData, EnglishReadingsCountBothWaysButDoNotSurviveAClearing) {
    LearnedData data;
    apply(data, at(10, Change::EnglishReading{"zfs", true}));
    apply(data, at(11, Change::EnglishReading{"zfs", true}));
    apply(data, at(12, Change::EnglishReading{"ok", false}));
    EXPECT_EQ(countOf(data.englishReadings, "zfs", "english"), 2);
    EXPECT_EQ(countOf(data.englishReadings, "ok", "chinese"), 1);
    apply(data, at(20, Change::Clearing{}));
    apply(data, at(15, Change::EnglishReading{"zfs", true})); // from before the clearing
    EXPECT_TRUE(data.englishReadings.empty());
}

TEST(LearnedData, TheLaterOfARemovalAndALearnWinsWhereverTheyMeet) {
    // Another process learned the entry after this one removed it, and saved first.
    LearnedData file;
    apply(file, at(30, Change::Choice{"ㄇㄚ", "媽"}));
    apply(file, at(30, Change::Sequence{{"你", "好"}}));
    apply(file, at(20, Change::Removal{Kind::selection, "ㄇㄚ", "媽"}));
    apply(file, at(20, Change::Clearing{}));
    EXPECT_EQ(countOf(file.selections, "ㄇㄚ", "媽"), 1);
    EXPECT_EQ(countOf(file.transitions, "你", "好"), 1);
    // Learned before the removal: gone.
    apply(file, at(40, Change::Removal{Kind::selection, "ㄇㄚ", "媽"}));
    EXPECT_EQ(countOf(file.selections, "ㄇㄚ", "媽"), 0);
}

TEST(LearnedData, PruningKeepsWhatIsUsedMostAndLatelyAndGivesNewEntriesTheirChance) {
    const std::int64_t now = 1000 * LearnedData::day;
    const std::int64_t monthsAgo = now - 100 * LearnedData::day;
    LearnedData data;
    for (std::size_t i = 0; i < LearnedData::selectionLimit; ++i)
        data.selections[numbered("ㄅ", i)]["字"] = {i < 3 ? 1000 : 1, monthsAgo};
    data.selections["ㄅ3"]["字"].time = 0; // learned by an older version: age unknown
    data.selections["ㄅ4"]["字"] = {1, now - 20 * LearnedData::day};
    // New choices late in the alphabet, and a word reported once, each come into full tables.
    for (std::size_t i = 0; i < LearnedData::wordLimit; ++i)
        data.pendingWords[numbered("ㄅ", i)]["字字"] = {1, monthsAgo};
    apply(data, at(now, Change::Choice{"ㄩ", "與"}));
    apply(data, at(now, Change::Choice{"ㄨ", "五"}));
    apply(data, at(now, Change::WordReport{"ㄩ-ㄩ", "雨魚"}));
    EXPECT_EQ(prune(data, now), 3u);
    EXPECT_EQ(data.entryCount(data.selections), LearnedData::selectionLimit);
    for (const char* kept : {"ㄅ0", "ㄅ1", "ㄅ2", "ㄅ3", "ㄅ4"})
        EXPECT_GT(countOf(data.selections, kept, "字"), 0) << kept;
    EXPECT_EQ(countOf(data.selections, "ㄩ", "與"), 1);
    EXPECT_EQ(countOf(data.selections, "ㄨ", "五"), 1);
    // A day later the word is reported again and becomes a learned word.
    apply(data, at(now + LearnedData::day, Change::WordReport{"ㄩ-ㄩ", "雨魚"}));
    prune(data, now + LearnedData::day);
    EXPECT_EQ(countOf(data.words, "ㄩ-ㄩ", "雨魚"), 2);

    data.removed["old"] = now - LearnedData::removalLifetime - 1;
    data.removed["recent"] = now - 1000;
    for (std::size_t i = 0; i < LearnedData::removalLimit + 10; ++i)
        data.removed[numbered("r", i)] = now - 10 - static_cast<std::int64_t>(i);
    prune(data, now);
    EXPECT_EQ(data.removed.size(), LearnedData::removalLimit);
    EXPECT_FALSE(data.removed.contains("old"));
    EXPECT_TRUE(data.removed.contains("r0"));
    EXPECT_FALSE(data.removed.contains(numbered("r", LearnedData::removalLimit + 9)));
}

TEST(LearnedData, RemovalsClearingEnglishReadingsAndTimesSurviveTheFile) {
    LearnedData data;
    apply(data, at(5, Change::Clearing{}));
    apply(data, at(10, Change::Choice{"ㄇㄚ", "媽"}));
    apply(data, at(12, Change::WordReport{"ㄅ-ㄆ", "不怕"}));
    apply(data, at(20, Change::Removal{Kind::selection, "ㄇㄚ", "麻"}));
    apply(data, at(21, Change::EnglishReading{"zfs", true}));
    bool clean = true;
    auto parsed = parseLearnedData(encodeLearnedData(data), clean);
    ASSERT_TRUE(parsed);
    EXPECT_TRUE(clean);
    EXPECT_EQ(*parsed, data);

    // Counts stay in the four tables an older version reads; times it does not know are kept
    // beside them, and dropped for entries the older version removed.
    LearnedData plain;
    apply(plain, at(10, Change::Choice{"ㄇㄚ", "媽"}));
    EXPECT_EQ(
        encodeLearnedData(plain),
        R"({"learnedAt":{"selections":{"ㄇㄚ":{"媽":10}}},"pendingWords":{},"selections":{"ㄇㄚ":{"媽":1}},)"
        R"("transitions":{},"words":{}})");
    clean = true;
    parsed = parseLearnedData(
        R"({"learnedAt":{"selections":{"ㄇㄚ":{"媽":10,"麻":11}}},"pendingWords":{},"selections":{"ㄇㄚ":{"媽":1}},)"
        R"("transitions":{},"words":{}})",
        clean);
    ASSERT_TRUE(parsed);
    EXPECT_TRUE(clean);
    EXPECT_EQ(*parsed, plain);

    clean = true;
    parseLearnedData(
        R"({"selections":{},"pendingWords":{},"words":{},"transitions":{},"removed":{"x":-1},"clearedAt":"no"})",
        clean);
    EXPECT_FALSE(clean);
}
