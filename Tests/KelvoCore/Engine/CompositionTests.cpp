#include "Engine/Composition.hpp"

#include <gtest/gtest.h>

using namespace kelvo;

namespace {

// Readings 0 … count−1, the cursor at the end.
Composition readings(int count) {
    Composition composition;
    for (int i = 0; i < count; ++i)
        composition.insert(Element::reading("ㄅㄚ"), std::to_string(i));
    return composition;
}

DecodedSegment segment(int start, int length, std::string value = "詞") {
    return DecodedSegment{start, length, std::move(value), "ㄅㄚ"};
}

} // namespace

TEST(Composition, InsertionAtTheCursorKeepsPinsBeforeShiftsThoseAfterAndDropsOneItCuts) {
    Composition composition = readings(5);
    composition.pin(segment(0, 2, "前"));
    composition.pin(segment(2, 1, "後"));
    composition.pin(segment(3, 2, "切"));
    composition.markExplicitCase(4);
    composition.placeCursor(4);
    composition.insert(Element::literal("x"));
    EXPECT_EQ(composition.pins(), (std::vector<DecodedSegment>{segment(0, 2, "前"), segment(2, 1, "後")}));
    EXPECT_EQ(composition.explicitCase(), (std::set<int>{5}));
    EXPECT_EQ(composition.keys()[4], "x"); // a literal's keys are its text
    EXPECT_EQ(composition.cursor(), 5);
    composition.placeCursor(2);
    composition.insert(Element::reading("ㄇㄚ"), "a8");
    EXPECT_EQ(composition.pins(), (std::vector<DecodedSegment>{segment(0, 2, "前"), segment(3, 1, "後")}));
    EXPECT_EQ(composition.keys()[2], "a8");
}

TEST(Composition, RemovalTakesItsPinAlongAndShiftsWhatFollows) {
    Composition composition = readings(4);
    composition.pin(segment(0, 1, "一"));
    composition.pin(segment(1, 2, "二"));
    composition.pin(segment(3, 1, "三"));
    composition.markExplicitCase(1);
    composition.markExplicitCase(3);
    composition.placeCursor(2);
    composition.removeBeforeCursor();
    EXPECT_EQ(composition.pins(), (std::vector<DecodedSegment>{segment(0, 1, "一"), segment(2, 1, "三")}));
    EXPECT_EQ(composition.explicitCase(), (std::set<int>{2}));
    EXPECT_EQ(composition.keys(), (std::vector<std::string>{"0", "2", "3"}));
    EXPECT_EQ(composition.cursor(), 1);
}

TEST(Composition, PinsReplaceTheOnesTheyOverlapAndTheCursorStaysInRange) {
    Composition composition = readings(4);
    composition.pin(segment(0, 2, "甲"));
    composition.pin(segment(2, 2, "乙"));
    composition.pin(segment(1, 2, "丙"));
    EXPECT_EQ(composition.pins(), (std::vector<DecodedSegment>{segment(1, 2, "丙")}));
    composition.moveCursor(3);
    EXPECT_EQ(composition.cursor(), 4);
    composition.moveCursor(-9);
    EXPECT_EQ(composition.cursor(), 0);
    EXPECT_EQ(composition.elementBeforeCursor(), nullptr);
    EXPECT_EQ(composition.anchorIndex(), 0);
    EXPECT_EQ(Composition().anchorIndex(), std::nullopt);
}
