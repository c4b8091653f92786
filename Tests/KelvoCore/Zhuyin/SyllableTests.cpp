#include "Zhuyin/Syllable.hpp"
#include "Zhuyin/ZhuyinComponent.hpp"

#include <gtest/gtest.h>

using namespace kelvo;
using I = Syllable::Initial;
using M = Syllable::Medial;
using F = Syllable::Final;
using T = Syllable::Tone;

TEST(Syllable, DisplayLeavesOutTheToneAndCanonicalAppendsItsMark) {
    Syllable zhong{I::zh, M::u, F::eng, T::tone4};
    EXPECT_EQ(zhong.display(), "ㄓㄨㄥ");
    EXPECT_EQ(zhong.canonical(), "ㄓㄨㄥˋ");
    EXPECT_EQ((Syllable{std::nullopt, M::i, std::nullopt, T::tone2}).canonical(), "ㄧˊ");
    EXPECT_EQ((Syllable{I::m, std::nullopt, F::a, T::tone5}).canonical(), "ㄇㄚ˙"); // the dot follows
    // The first tone has no mark: with it or with no tone yet, the text is the same, the syllable not.
    Syllable first{I::m, std::nullopt, F::a, T::tone1}, none{I::m, std::nullopt, F::a, std::nullopt};
    EXPECT_EQ(first.canonical(), none.canonical());
    EXPECT_NE(first, none);
    EXPECT_TRUE(Syllable{}.isEmpty());
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
