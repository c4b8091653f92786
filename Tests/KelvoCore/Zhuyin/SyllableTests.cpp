#include "Zhuyin/Syllable.hpp"
#include "Zhuyin/ZhuyinComponent.hpp"

#include <gtest/gtest.h>

using namespace kelvo;
using I = Syllable::Initial;
using M = Syllable::Medial;
using F = Syllable::Final;
using T = Syllable::Tone;

TEST(Syllable, DefaultIsEmptyWithEmptyStrings) {
    Syllable syllable;
    EXPECT_TRUE(syllable.isEmpty());
    EXPECT_EQ(syllable.display(), "");
    EXPECT_EQ(syllable.canonical(), "");
    syllable.tone = T::tone3;
    EXPECT_FALSE(syllable.isEmpty());
}

TEST(Syllable, DisplayLeavesOutToneAndCanonicalAppendsMark) {
    Syllable zhong{I::zh, M::u, F::eng, T::tone4};
    EXPECT_EQ(zhong.display(), "ㄓㄨㄥ");
    EXPECT_EQ(zhong.canonical(), "ㄓㄨㄥˋ");

    Syllable yi{std::nullopt, M::i, std::nullopt, T::tone2};
    EXPECT_EQ(yi.display(), "ㄧ");
    EXPECT_EQ(yi.canonical(), "ㄧˊ");

    Syllable er{std::nullopt, std::nullopt, F::er, std::nullopt};
    EXPECT_EQ(er.canonical(), "ㄦ");
}

TEST(Syllable, NeutralToneDotFollowsTheLetters) {
    Syllable ma{I::m, std::nullopt, F::a, T::tone5};
    EXPECT_EQ(ma.canonical(), "ㄇㄚ˙");
}

TEST(Syllable, FirstToneAndNoToneShareCanonicalButDiffer) {
    Syllable first{I::m, std::nullopt, F::a, T::tone1};
    Syllable none{I::m, std::nullopt, F::a, std::nullopt};
    EXPECT_EQ(first.canonical(), "ㄇㄚ");
    EXPECT_EQ(none.canonical(), "ㄇㄚ");
    EXPECT_NE(first, none);
    EXPECT_EQ(first, (Syllable{I::m, std::nullopt, F::a, T::tone1}));
}

TEST(Syllable, ComponentsRoundTripThroughTheirLetters) {
    // Letters are consecutive code points, so every case's letter is checked against its position.
    auto codePoint = [](std::string_view letter) {
        auto b = reinterpret_cast<const unsigned char*>(letter.data());
        EXPECT_EQ(letter.size(), 3u);
        return ((b[0] & 0x0F) << 12) | ((b[1] & 0x3F) << 6) | (b[2] & 0x3F);
    };
    for (std::size_t n = 0; n < allInitials().size(); ++n) {
        auto initial = allInitials()[n];
        EXPECT_EQ(codePoint(rawValue(initial)), 0x3105 + static_cast<int>(n));
        EXPECT_EQ(makeInitial(rawValue(initial)), initial);
    }
    for (std::size_t n = 0; n < allMedials().size(); ++n) {
        EXPECT_EQ(codePoint(rawValue(allMedials()[n])), 0x3127 + static_cast<int>(n));
        EXPECT_EQ(makeMedial(rawValue(allMedials()[n])), allMedials()[n]);
    }
    for (std::size_t n = 0; n < allFinals().size(); ++n) {
        EXPECT_EQ(codePoint(rawValue(allFinals()[n])), 0x311A + static_cast<int>(n));
        EXPECT_EQ(makeFinal(rawValue(allFinals()[n])), allFinals()[n]);
    }
    EXPECT_EQ(allInitials().back(), I::s);
    EXPECT_EQ(allFinals().back(), F::er);
}

TEST(Syllable, RejectsLettersOfOtherComponents) {
    EXPECT_FALSE(makeInitial("ㄧ"));
    EXPECT_FALSE(makeInitial(""));
    EXPECT_FALSE(makeInitial("ㄅㄆ"));
    EXPECT_FALSE(makeMedial("ㄅ"));
    EXPECT_FALSE(makeFinal("ㄧ"));
    EXPECT_EQ(makeMedial("ㄩ"), M::yu);
    EXPECT_EQ(makeFinal("ㄦ"), F::er);
}

TEST(Syllable, TonesHaveRawValuesAndMarks) {
    EXPECT_FALSE(makeTone(0));
    EXPECT_FALSE(makeTone(6));
    EXPECT_EQ(makeTone(1), T::tone1);
    EXPECT_EQ(makeTone(5), T::tone5);
    std::vector<std::string_view> marks;
    for (auto tone : allTones()) {
        EXPECT_EQ(makeTone(rawValue(tone)), tone);
        marks.push_back(mark(tone));
    }
    EXPECT_EQ(marks, (std::vector<std::string_view>{"", "ˊ", "ˇ", "ˋ", "˙"}));
}

TEST(ZhuyinComponent, EqualityNeedsSameAlternativeAndCase) {
    ZhuyinComponent initialB = I::b;
    ZhuyinComponent medialI = M::i;
    EXPECT_NE(initialB, medialI);
    EXPECT_EQ(initialB, ZhuyinComponent(I::b));
    EXPECT_NE(initialB, ZhuyinComponent(I::p));
    EXPECT_TRUE(isTone(ZhuyinComponent(T::tone1)));
    EXPECT_FALSE(isTone(initialB));
}
