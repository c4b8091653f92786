#include "Detectors/EnglishVocabulary.hpp"

#include <gtest/gtest.h>

using namespace kelvo;

TEST(EnglishVocabulary, ReadsScoredWordsAndSkipsWhatIsNoEntry) {
    EnglishVocabulary vocabulary("# comment\nzebra -5.5\r\nthe -1.5\nbroken\n -2\nhalf -x\nmmap -4.25\n\n");
    EXPECT_EQ(vocabulary.size(), 3u);
    EXPECT_DOUBLE_EQ(*vocabulary.score("the"), -1.5);
    EXPECT_DOUBLE_EQ(*vocabulary.score("zebra"), -5.5); // found though the text was not sorted
    EXPECT_EQ(vocabulary.score("broken"), std::nullopt);
    EXPECT_EQ(vocabulary.score("th"), std::nullopt);
    EXPECT_DOUBLE_EQ(*vocabulary.score("mmap"), -4.25);
    EXPECT_FALSE(EnglishVocabulary().contains("the"));
    EXPECT_THROW(EnglishVocabulary::contentsOf("/nonexistent/english.txt"), VocabularyError);
}

TEST(EnglishVocabulary, TheBundledVocabularyRanksCommonAndTechnicalWords) {
    auto vocabulary = EnglishVocabulary::contentsOf(KELVO_RESOURCES_DIR "/data/english.txt");
    EXPECT_GT(vocabulary->size(), 100000u);
    // General English from the graded lists, technical words from the documentation.
    for (std::string_view word : {"the", "you", "sudo", "git", "api", "mmap", "readline", "uuid", "python"})
        EXPECT_TRUE(vocabulary->contains(word)) << word;
    EXPECT_GT(*vocabulary->score("the"), *vocabulary->score("readline"));
    EXPECT_GT(*vocabulary->score("you"), *vocabulary->score("github"));
    // Letter pairs that are common first-tone syllables are at most rare abbreviations.
    for (std::string_view keys : {"ru", "gp", "cl", "tl"})
        EXPECT_LT(vocabulary->score(keys).value_or(-99), -5.5) << keys;
}
