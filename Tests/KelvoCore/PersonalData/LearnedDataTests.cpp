#include "PersonalData/LearnedData.hpp"

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
    return found == row->second.end() ? 0 : found->second;
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

TEST(LearnedData, EnglishReadingsCountBothWaysAndSurviveTheFileButNotAClearing) {
    LearnedData data;
    apply(data, at(10, Change::EnglishReading{"zfs", true}));
    apply(data, at(11, Change::EnglishReading{"zfs", true}));
    apply(data, at(12, Change::EnglishReading{"ok", false}));
    EXPECT_EQ(countOf(data.englishReadings, "zfs", "english"), 2);
    EXPECT_EQ(countOf(data.englishReadings, "ok", "chinese"), 1);
    bool clean = true;
    EXPECT_EQ(parseLearnedData(encodeLearnedData(data), clean), data);
    EXPECT_TRUE(clean);
    apply(data, at(20, Change::Clearing{}));
    apply(data, at(15, Change::EnglishReading{"zfs", true})); // from before the clearing
    EXPECT_TRUE(data.englishReadings.empty());
}

TEST(LearnedData, PruningKeepsTheMostUsedWithinEachLimit) {
    LearnedData data;
    for (std::size_t i = 0; i < LearnedData::wordLimit + 5; ++i)
        data.words[numbered("ㄅ", i)]["字"] = i < 3 ? 100 : 1;
    const std::int64_t now = 100LL * 24 * 3600 * 1000;
    data.removed["old"] = now - LearnedData::removalLifetime - 1;
    data.removed["recent"] = now - 1000;
    prune(data, now);
    EXPECT_EQ(data.entryCount(data.words), LearnedData::wordLimit);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(countOf(data.words, numbered("ㄅ", static_cast<std::size_t>(i)), "字"), 100);
    EXPECT_FALSE(data.removed.contains("old"));
    EXPECT_TRUE(data.removed.contains("recent"));

    for (std::size_t i = 0; i < LearnedData::removalLimit + 10; ++i)
        data.removed[numbered("r", i)] = now - static_cast<std::int64_t>(i);
    prune(data, now);
    EXPECT_EQ(data.removed.size(), LearnedData::removalLimit);
    EXPECT_TRUE(data.removed.contains("r0"));
    EXPECT_FALSE(data.removed.contains(numbered("r", LearnedData::removalLimit + 9)));
}

TEST(LearnedData, RemovalsAndClearingSurviveTheFile) {
    LearnedData data;
    apply(data, at(5, Change::Clearing{}));
    apply(data, at(10, Change::Choice{"ㄇㄚ", "媽"}));
    apply(data, at(20, Change::Removal{Kind::selection, "ㄇㄚ", "麻"}));
    bool clean = true;
    auto parsed = parseLearnedData(encodeLearnedData(data), clean);
    ASSERT_TRUE(parsed);
    EXPECT_TRUE(clean);
    EXPECT_EQ(*parsed, data);

    // A file without removals keeps the four-table layout.
    LearnedData plain;
    apply(plain, at(10, Change::Choice{"ㄇㄚ", "媽"}));
    EXPECT_EQ(encodeLearnedData(plain).find("removed"), std::string::npos);
    EXPECT_EQ(encodeLearnedData(plain).find("clearedAt"), std::string::npos);

    clean = true;
    parseLearnedData(
        R"({"selections":{},"pendingWords":{},"words":{},"transitions":{},"removed":{"x":-1},"clearedAt":"no"})",
        clean);
    EXPECT_FALSE(clean);
}
