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
