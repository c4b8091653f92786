#include "Text/Characters.hpp"

#include <gtest/gtest.h>
#include <memory>
#include <unicode/brkiter.h>
#include <unicode/unistr.h>

using namespace kelvo;

namespace {
const std::string combiningE = "e\u0301";     // e + combining acute
const std::string family = "👨\u200d👩\u200d👧"; // ZWJ emoji sequence
const std::string flag = "🇹🇼";                // regional indicator pair
const std::string outsideBMP = "𠀀";          // U+20000, two UTF-16 units
} // namespace

TEST(Characters, SplitsIntoGraphemeClusters) {
    EXPECT_EQ(characters("a" + combiningE + "b"), (std::vector<std::string>{"a", combiningE, "b"}));
    EXPECT_EQ(characters(family + flag + "x"), (std::vector<std::string>{family, flag, "x"}));
    EXPECT_EQ(characters("a\r\nb"), (std::vector<std::string>{"a", "\r\n", "b"}));
    EXPECT_EQ(characters("你好"), (std::vector<std::string>{"你", "好"}));
    EXPECT_TRUE(characters("").empty());
    EXPECT_EQ(characterViews("x" + outsideBMP), (std::vector<std::string_view>{"x", outsideBMP}));
}

// ASCII is split without ICU's rules: it must split as they do, line ends and controls included.
TEST(Characters, SplitsASCIIAsICUDoes) {
    auto icuSplit = [](const std::string& text) {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::BreakIterator> breaker(
            icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
        icu::UnicodeString unicode = icu::UnicodeString::fromUTF8(text);
        breaker->setText(unicode);
        std::vector<std::string> pieces;
        for (int32_t begin = breaker->first(), end = breaker->next(); end != icu::BreakIterator::DONE;
             begin = end, end = breaker->next())
            pieces.push_back(
                text.substr(static_cast<std::size_t>(begin), static_cast<std::size_t>(end - begin)));
        return pieces;
    };
    const std::string alphabet = "a\r\n\t \x7f";
    std::vector<std::string> texts{""};
    for (int length = 1; length <= 4; ++length) {
        std::vector<std::string> longer;
        for (const auto& text : texts)
            for (char c : alphabet)
                longer.push_back(text + c);
        for (const auto& text : longer)
            EXPECT_EQ(characters(text), icuSplit(text)) << testing::PrintToString(text);
        texts = std::move(longer);
    }
}

TEST(Characters, CountsCharactersNotScalarsOrBytes) {
    EXPECT_EQ(characterCount(""), 0u);
    EXPECT_EQ(characterCount(combiningE), 1u);
    EXPECT_EQ(characterCount(family), 1u);
    EXPECT_EQ(characterCount("\r\n\r\n"), 2u);
    EXPECT_EQ(characterCount("ㄋㄧˇ"), 3u);
}

TEST(Characters, MeasuresUTF16) {
    EXPECT_EQ(utf16Length(""), 0u);
    EXPECT_EQ(utf16Length("abc"), 3u);
    EXPECT_EQ(utf16Length("你好"), 2u);
    EXPECT_EQ(utf16Length(outsideBMP), 2u);
    EXPECT_EQ(utf16Length(family), 8u);
    EXPECT_EQ(utf16Length(combiningE), 2u);
}

TEST(Characters, UTF16OffsetOfCharacterIndex) {
    std::string text = outsideBMP + combiningE + "a" + family + "z";
    EXPECT_EQ(utf16Offset(text, 0), 0u);
    EXPECT_EQ(utf16Offset(text, 1), 2u);
    EXPECT_EQ(utf16Offset(text, 2), 4u);
    EXPECT_EQ(utf16Offset(text, 3), 5u);
    EXPECT_EQ(utf16Offset(text, 4), 13u);
    EXPECT_EQ(utf16Offset(text, 5), 14u);
    EXPECT_EQ(utf16Offset(text, 99), 14u);
}

TEST(Characters, ASCIIIncludesCRLFPairOnly) {
    EXPECT_TRUE(isASCII("a"));
    EXPECT_TRUE(isASCII("\r\n"));
    EXPECT_TRUE(isASCII(std::string_view("\0", 1)));
    EXPECT_FALSE(isASCII("é"));
    EXPECT_FALSE(isASCII(combiningE));
    EXPECT_FALSE(isASCII("ab"));
    EXPECT_FALSE(isASCII(""));
}

TEST(Characters, LettersAndNumbersFollowUnicodeProperties) {
    EXPECT_TRUE(isLetter("a"));
    EXPECT_TRUE(isLetter("你"));
    EXPECT_TRUE(isLetter("ㄅ"));
    EXPECT_TRUE(isLetter(combiningE));
    EXPECT_FALSE(isLetter("1"));
    EXPECT_FALSE(isLetter("，"));
    EXPECT_FALSE(isLetter(""));
    EXPECT_TRUE(isNumber("7"));
    EXPECT_TRUE(isNumber("７"));
    EXPECT_TRUE(isNumber("½"));
    EXPECT_TRUE(isNumber("Ⅻ"));
    EXPECT_FALSE(isNumber("a"));
    EXPECT_TRUE(isASCIILetter("Z"));
    EXPECT_FALSE(isASCIILetter("é"));
    EXPECT_TRUE(isASCIIDigit("0"));
    EXPECT_FALSE(isASCIIDigit("７"));
}

TEST(Characters, DecimalDigitsAreSingleNdScalars) {
    EXPECT_EQ(decimalDigitValue("0"), 0);
    EXPECT_EQ(decimalDigitValue("9"), 9);
    EXPECT_EQ(decimalDigitValue("７"), 7);
    EXPECT_EQ(decimalDigitValue("٣"), 3);
    EXPECT_FALSE(decimalDigitValue("½"));
    EXPECT_FALSE(decimalDigitValue("Ⅻ"));
    EXPECT_FALSE(decimalDigitValue("1\uFE0F\u20E3")); // keycap sequence
    EXPECT_FALSE(decimalDigitValue("12"));
    EXPECT_TRUE(isDecimalDigit("5"));
    EXPECT_FALSE(isDecimalDigit("x"));
}

TEST(Characters, HanRangesIncludeTheirBounds) {
    for (const char* han : {"\u3400", "\u4DBF", "\u4E00", "\u9FFF", "\uF900", "\uFAFF", "𠀀", "\U000323AF"})
        EXPECT_TRUE(isHan(han)) << han;
    for (const char* other : {"\u33FF", "\u4DC0", "\uFB00", "\U0001FFFF", "\U000323B0", "a", "あ", ""})
        EXPECT_FALSE(isHan(other)) << other;
}

TEST(Characters, Whitespace) {
    EXPECT_TRUE(isWhitespace(" "));
    EXPECT_TRUE(isWhitespace("\t"));
    EXPECT_TRUE(isWhitespace("\r\n"));
    EXPECT_TRUE(isWhitespace("\u3000"));
    EXPECT_TRUE(isWhitespace("\u00A0"));
    EXPECT_FALSE(isWhitespace("\u200B"));
    EXPECT_FALSE(isWhitespace("a"));
}

TEST(Characters, CaseMappingIsUnicodeAware) {
    EXPECT_EQ(lowercased("GitHub API"), "github api");
    EXPECT_EQ(uppercased("macOS"), "MACOS");
    EXPECT_EQ(lowercased("ÀÉÎ"), "àéî");
    EXPECT_EQ(uppercased("straße"), "STRASSE");
    EXPECT_EQ(lowercased("ΣΑΣ"), "σας");
    EXPECT_EQ(uppercased("ǆ"), "Ǆ");
    EXPECT_EQ(lowercased("Ｇ"), "ｇ");
    EXPECT_EQ(uppercased("你好1"), "你好1");
    EXPECT_EQ(lowercased(""), "");
}
