#include "Formatting/TextFormatting.hpp"

#include <gtest/gtest.h>

using namespace kelvo;

namespace {
TextFormatting spacing(bool chineseEnglish, bool chineseNumber, bool englishNumber) {
    return TextFormatting(chineseEnglish, chineseNumber, englishNumber, false, {}, PunctuationMode::smart);
}
} // namespace

TEST(TextFormatting, SettingsPreviewSample) {
    TextFormatting formatting(true, true, true, true, {}, PunctuationMode::smart);
    EXPECT_EQ(formatting.apply("今天review api第3版，check一下github"),
              "今天 review API 第 3 版，check 一下 GitHub");
    formatting.punctuationMode = PunctuationMode::chinese;
    EXPECT_EQ(formatting.apply("今天review api第3版，check一下github"),
              "今天 review API 第 3 版，check 一下 GitHub");
}

TEST(TextFormatting, SpacesOnlyWhereTheSwitchesSay) {
    EXPECT_EQ(spacing(true, false, false).apply("中 abc中abc"), "中 abc 中 abc");
    EXPECT_EQ(spacing(false, true, false).apply("第3版"), "第 3 版");
    EXPECT_EQ(spacing(false, true, false).apply("第３版"), "第３版");
    EXPECT_EQ(spacing(false, true, false).apply("中abc"), "中abc");
    EXPECT_EQ(spacing(false, false, true).apply("version2 2x"), "version 2 2 x");
    EXPECT_EQ(spacing(false, false, true).apply("mail a1@b2.com or https://x1.io/a2 v2"),
              "mail a1@b2.com or https://x1.io/a2 v 2");
    EXPECT_EQ(spacing(true, true, true).apply("用，abc。2"), "用，abc。2");
    EXPECT_EQ(spacing(true, true, true).apply("かなabc"), "かなabc");
}

TEST(TextFormatting, HanBeyondTheBMPAndEmoji) {
    EXPECT_EQ(spacing(true, true, false).apply("𠀀abc𠀀1"), "𠀀 abc 𠀀 1");
    EXPECT_EQ(spacing(true, true, true).apply("😀abc😀1"), "😀abc😀1");
    TextFormatting chinese(false, false, false, false, {}, PunctuationMode::chinese);
    EXPECT_EQ(chinese.apply("好😀,ok👍🏽?"), "好😀，ok👍🏽？");
}

TEST(TextFormatting, PreservedRangesKeepCaseAndPunctuation) {
    TextFormatting formatting(false, false, false, true, {}, PunctuationMode::chinese);
    EXPECT_EQ(formatting.apply("api, api,"), "API， API，");
    EXPECT_EQ(formatting.apply("api, api,", {{5, 9}}), "API， api,");
}
