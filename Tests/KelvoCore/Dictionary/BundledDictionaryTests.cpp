#include "Dictionary/DictionaryCheck.hpp"
#include "Dictionary/Lexicon.hpp"

#include <gtest/gtest.h>

using namespace kelvo;

namespace {
const Lexicon& bundled() {
    static const auto lexicon = Lexicon::contentsOf(KELVO_RESOURCES_DIR "/data/data.txt");
    return *lexicon;
}

std::string bestWord(std::string_view reading) {
    const auto& words = bundled().unigrams(reading);
    return words.empty() ? std::string() : words.front().value;
}
} // namespace

TEST(BundledDictionary, PassesTheSelfCheck) {
    EXPECT_GT(bundled().entryCount(), dictionaryEntryThreshold);
    EXPECT_TRUE(passesDictionaryCheck(bundled()));
}

TEST(BundledDictionary, CommonWordsComeFirst) {
    EXPECT_EQ(bestWord("ㄋㄧˇ-ㄏㄠˇ"), "你好");
    EXPECT_EQ(bestWord("ㄊㄞˊ-ㄨㄢ"), "台灣");
    EXPECT_EQ(bestWord("ㄕˋ"), "是");
    EXPECT_EQ(bestWord("ㄉㄜ˙"), "的");
}
