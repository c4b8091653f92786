#include "Zhuyin/DachenLayout.hpp"

#include <gtest/gtest.h>
#include <set>

using namespace kelvo;

TEST(DachenLayout, TableHas42DistinctKeysCoveringEveryComponent) {
    auto table = DachenLayout::table();
    ASSERT_EQ(table.size(), 42u);
    std::set<char> keys;
    std::string letters;
    int tones = 0;
    for (const auto& row : table) {
        keys.insert(row.key);
        std::visit(
            [&](auto component) {
                if constexpr (std::is_same_v<decltype(component), Syllable::Tone>)
                    ++tones;
                else
                    letters += rawValue(component);
            },
            row.component);
    }
    EXPECT_EQ(keys.size(), 42u);
    EXPECT_EQ(tones, 5);
    EXPECT_EQ(letters, "ㄅㄆㄇㄈㄉㄊㄋㄌㄍㄎㄏㄐㄑㄒㄓㄔㄕㄖㄗㄘㄙㄧㄨㄩㄚㄛㄜㄝㄞㄟㄠㄡㄢㄣㄤㄥㄦ");
}

TEST(DachenLayout, OnlyExactTableKeysHaveComponents) {
    for (const char* key : {"Q", "A", "`", "=", "[", "'", "\\", "", "qq", "ㄅ", "\t", "\xC3"})
        EXPECT_FALSE(DachenLayout::component(key)) << key;
}

TEST(DachenLayout, KeysOfASyllableEndWithItsToneKey) {
    EXPECT_EQ(DachenLayout::keys("ㄋㄧˇ"), "su3");
    EXPECT_EQ(DachenLayout::keys("ㄓㄨㄥ"), "5j/ ");
    EXPECT_EQ(DachenLayout::keys("ㄇㄚ˙"), "a87");
    EXPECT_EQ(DachenLayout::keys("ㄦˊ"), "-6");
    EXPECT_FALSE(DachenLayout::keys(""));
    EXPECT_FALSE(DachenLayout::keys("ˇ"));
    EXPECT_FALSE(DachenLayout::keys("ㄋˇㄧ"));
    EXPECT_FALSE(DachenLayout::keys("ㄋx"));
}
