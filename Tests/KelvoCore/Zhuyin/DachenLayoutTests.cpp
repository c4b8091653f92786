#include "Zhuyin/DachenLayout.hpp"

#include <gtest/gtest.h>

using namespace kelvo;

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
