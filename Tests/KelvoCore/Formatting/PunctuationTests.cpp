#include "Formatting/Punctuation.hpp"

#include <gtest/gtest.h>

using namespace kelvo;
using Strings = std::vector<std::string>;

TEST(Punctuation, VariantsListTheOtherWidthAndTheTypingKey) {
    EXPECT_EQ(Punctuation::variants("；"), (Strings{"；", ";", "\""}));
    EXPECT_EQ(Punctuation::variants("，"), (Strings{"，", ",", "<"}));
    EXPECT_EQ(Punctuation::variants(","), (Strings{",", "，", "<"}));
    EXPECT_EQ(Punctuation::variants("."), (Strings{".", "。", ">"}));
    EXPECT_EQ(Punctuation::variants("「"), (Strings{"「", "["}));
    EXPECT_EQ(Punctuation::variants(")"), (Strings{")", "）"}));
    EXPECT_TRUE(Punctuation::variants("<").empty());
    EXPECT_TRUE(Punctuation::variants("a").empty());
}

TEST(Punctuation, ChineseModeConvertsOutsideProtectedRuns) {
    auto chinese = [](std::string_view text, std::vector<UTF16Range> keep = {}) {
        return Punctuation::format(text, PunctuationMode::chinese, keep);
    };
    EXPECT_EQ(chinese("你好,世界"), "你好，世界");
    EXPECT_EQ(Punctuation::format("你好,世界", PunctuationMode::smart, {}), "你好,世界");
    EXPECT_EQ(Punctuation::format("你好,世界", PunctuationMode::english, {}), "你好,世界");
    EXPECT_EQ(chinese("結束."), "結束.");
    EXPECT_EQ(chinese("3.14"), "3.14");
    EXPECT_EQ(chinese("see example.com"), "see example.com");
    EXPECT_EQ(chinese("see example.com, ok"), "see example.com， ok");
    EXPECT_EQ(chinese("what?"), "what？");
    EXPECT_EQ(chinese("user_name:"), "user_name:");
    EXPECT_EQ(chinese("(a)"), "（a）");
    EXPECT_EQ(chinese("a<b>c"), "a，b。c");
    EXPECT_EQ(chinese("mail me@x.org!"), "mail me@x.org！");
    EXPECT_EQ(chinese("[x];"), "「x」；");
    EXPECT_EQ(chinese(""), "");
}

TEST(Punctuation, PreservedRangesAndUTF16OffsetsBeyondTheBMP) {
    // 𠀀 takes two UTF-16 units, so the comma after it starts at offset 2.
    EXPECT_EQ(Punctuation::format("𠀀,𠀀,", PunctuationMode::chinese, {{2, 3}}), "𠀀,𠀀，");
    EXPECT_EQ(Punctuation::format("𠀀,𠀀,", PunctuationMode::chinese, {{5, 6}}), "𠀀，𠀀,");
    EXPECT_EQ(Punctuation::format("😀,👍🏽!", PunctuationMode::chinese, {}), "😀，👍🏽！");
    // A comma joined by a combining mark is another character, not the comma.
    EXPECT_EQ(Punctuation::format(",\u0301", PunctuationMode::chinese, {}), ",\u0301");
}
