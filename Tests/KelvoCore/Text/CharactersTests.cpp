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

TEST(Characters, CountsAndMeasuresCharactersNotScalarsOrBytes) {
    EXPECT_EQ(characterCount(combiningE + family + "\r\n"), 3u);
    std::string text = outsideBMP + combiningE + "a" + family + "z";
    EXPECT_EQ(utf16Length(text), 14u);
    const std::size_t offsets[] = {0, 2, 4, 5, 13, 14, 14};
    for (std::size_t index : {0, 1, 2, 3, 4, 5})
        EXPECT_EQ(utf16Offset(text, index), offsets[index]) << index;
    EXPECT_EQ(utf16Offset(text, 99), 14u);
}

// What each test answers for the characters where a byte test or an ASCII test would differ.
TEST(Characters, PropertiesHoldForWholeCharacters) {
    EXPECT_TRUE(isASCII("\r\n"));
    EXPECT_FALSE(isASCII("ab") || isASCII(combiningE) || isASCII(""));
    EXPECT_TRUE(isLetter(combiningE) && isLetter("ㄅ") && !isLetter("，"));
    EXPECT_TRUE(isNumber("½") && !isDecimalDigit("½"));
    EXPECT_EQ(decimalDigitValue("７"), 7);
    EXPECT_FALSE(decimalDigitValue("1\uFE0F\u20E3")); // keycap sequence
    EXPECT_FALSE(isASCIIDigit("７"));
    EXPECT_TRUE(isWhitespace("\u3000") && isWhitespace("\r\n") && !isWhitespace("\u200B"));
    EXPECT_EQ(lowercased("ΣΑΣ"), "σας");
    EXPECT_EQ(uppercased("straße"), "STRASSE");
}
