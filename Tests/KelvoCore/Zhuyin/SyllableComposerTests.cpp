#include "Zhuyin/SyllableComposer.hpp"

#include <gtest/gtest.h>

using namespace kelvo;
using Kind = SyllableComposer::PressResult::Kind;
using Slot = SyllableComposer::Slot;

namespace {
std::vector<SyllableComposer::PressResult> pressAll(SyllableComposer& composer, std::string_view keys) {
    std::vector<SyllableComposer::PressResult> results;
    for (char key : keys)
        results.push_back(composer.press(std::string_view(&key, 1)));
    return results;
}
} // namespace

TEST(SyllableComposer, AToneKeyComposesWhatItHoldsAndStartsAfresh) {
    SyllableComposer composer;
    for (const char* tone : {" ", "6", "3", "4", "7"})
        EXPECT_EQ(composer.press(tone).kind, Kind::rejected); // nothing to end yet
    auto results = pressAll(composer, "5j/4");
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(results[i].kind, Kind::absorbed);
    EXPECT_EQ(results[3],
              SyllableComposer::PressResult::composed(Syllable{Syllable::Initial::zh, Syllable::Medial::u,
                                                               Syllable::Final::eng, Syllable::Tone::tone4}));
    EXPECT_EQ(composer, SyllableComposer());
    pressAll(composer, "j");
    auto space = composer.press(" ");
    EXPECT_EQ(space.syllable.tone, Syllable::Tone::tone1); // Space is the first tone
}

TEST(SyllableComposer, ComponentsArriveInAnyOrder) {
    SyllableComposer a, b;
    pressAll(a, "5j");
    pressAll(b, "j5");
    EXPECT_EQ(a.syllable(), b.syllable());
    EXPECT_EQ(a.display(), "ㄓㄨ");
    EXPECT_EQ(b.display(), "ㄓㄨ");
    EXPECT_NE(a, b); // typed differently: keys and slot order differ
}

TEST(SyllableComposer, UpperCaseAndUnknownKeysAreRejectedWithoutChange) {
    SyllableComposer composer;
    composer.press("q");
    SyllableComposer before = composer;
    EXPECT_EQ(composer.press("Q").kind, Kind::rejected);
    EXPECT_EQ(composer.press("[").kind, Kind::rejected);
    EXPECT_EQ(composer.press("ㄅ").kind, Kind::rejected);
    EXPECT_EQ(composer, before);
}

TEST(SyllableComposer, OverwritingCountsAndKeepsFirstSlotOrder) {
    SyllableComposer composer;
    pressAll(composer, "1qa");
    EXPECT_EQ(composer.syllable().initial, Syllable::Initial::m);
    EXPECT_EQ(composer.overwriteCount(), 2);
    EXPECT_EQ(composer.slotOrder(), std::vector<Slot>{Slot::initial});
    EXPECT_EQ(composer.rawKeys(), "1qa");

    pressAll(composer, "8u");
    EXPECT_EQ(composer.slotOrder(), (std::vector<Slot>{Slot::initial, Slot::final, Slot::medial}));
}

TEST(SyllableComposer, BackspaceUndoesLastKeyByReplay) {
    SyllableComposer composer;
    pressAll(composer, "1q");
    EXPECT_EQ(composer.overwriteCount(), 1);
    EXPECT_TRUE(composer.backspace());
    EXPECT_EQ(composer.syllable().initial, Syllable::Initial::b);
    EXPECT_EQ(composer.overwriteCount(), 0);
    EXPECT_EQ(composer.rawKeys(), "1");

    SyllableComposer fresh;
    fresh.press("1");
    EXPECT_EQ(composer, fresh);

    EXPECT_TRUE(composer.backspace());
    EXPECT_TRUE(composer.isEmpty());
    EXPECT_EQ(composer, SyllableComposer());
    EXPECT_FALSE(composer.backspace());
    EXPECT_EQ(composer, SyllableComposer());
}
