#include "../../Support/TemporaryFolder.hpp"
#include "Detectors/EnglishDetector.hpp"

#include <gtest/gtest.h>

using namespace kelvo;
using Words = std::vector<std::string>;

TEST(EnglishDetector, KnowsTheCommonWordsEvenWithoutAList) {
    EnglishDetector detector;
    for (std::string_view word : EnglishDetector::commonWords())
        EXPECT_TRUE(detector.isWord(word)) << word;
    EXPECT_FALSE(detector.isWord("zebra"));
}

TEST(EnglishDetector, SegmentsRunsIntoCommonWords) {
    EnglishDetector detector({"hello", "thank", "you", "world", "hell", "low", "or", "ld"});
    EXPECT_EQ(detector.segmentedWords("thankyou"), (Words{"thank", "you"}));
    EXPECT_EQ(detector.segmentedWords("HelloWorld"), (Words{"Hello", "World"}));
    EXPECT_EQ(detector.segmentedWords("hello"), (Words{"hello"}));
    EXPECT_EQ(detector.segmentedWords("Hello"), (Words{"Hello"}));
    EXPECT_EQ(detector.segmentedWords("checkthecode"), (Words{"check", "the", "code"}));
    EXPECT_EQ(detector.segmentedWords("iamtest"), std::nullopt); // "am" is not a word here
}

TEST(EnglishDetector, SegmentationRefusesUncommonWordsDigitsAndLongRuns) {
    EnglishDetector detector({"zebra", "crossing", "b"});
    EXPECT_EQ(detector.segmentedWords("zebracrossing"), std::nullopt);
    EXPECT_EQ(detector.segmentedWords("thank you"), std::nullopt);
    EXPECT_EQ(detector.segmentedWords("thank2you"), std::nullopt);
    EXPECT_EQ(detector.segmentedWords("thankyoü"), std::nullopt);
    EXPECT_EQ(detector.segmentedWords(""), std::nullopt);
    EXPECT_EQ(detector.segmentedWords(std::string(65, 'q')), std::nullopt);
    std::string longRun;
    while (longRun.size() < 65)
        longRun += "thankyou";
    EXPECT_EQ(detector.segmentedWords(longRun), std::nullopt);
    // Single letters other than a and i never count, even when the list has them.
    EXPECT_EQ(detector.segmentedWords("bis"), std::nullopt);
    EXPECT_EQ(detector.segmentedWords("isa"), (Words{"is", "a"}));
}

TEST(EnglishDetector, PrefersFewerAndMoreCommonPieces) {
    // "thanks"+"o" is impossible (o is no word); "this"+"is" beats "th"+"isis".
    EnglishDetector detector({"th", "isis"});
    EXPECT_EQ(detector.segmentedWords("thisis"), (Words{"this", "is"}));
}

TEST(EnglishDetector, ReadsAWordFile) {
    kelvo::testing::TemporaryFolder folder;
    auto path = folder.write("words", "Aardvark\n\nzebra's\n trailing \nthe\n");
    auto detector = EnglishDetector::contentsOf(path);
    EXPECT_TRUE(detector->isWord("aardvark"));
    EXPECT_TRUE(detector->isWord("zebra's"));
    EXPECT_TRUE(detector->isWord(" trailing ")); // lines are not trimmed
    EXPECT_FALSE(detector->isWord("trailing"));
    EXPECT_FALSE(detector->isWord(""));
    EXPECT_THROW(EnglishDetector::contentsOf(folder / "missing"), EnglishDetectorError);
    EXPECT_THROW(EnglishDetector::contentsOf(folder.write("latin1", "caf\xE9\n")), EnglishDetectorError);
}
