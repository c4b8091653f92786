// Learning from commits with a real learned-data file.
#include "../../Support/TemporaryFolder.hpp"
#include "BundledEngineSupport.hpp"

using namespace kelvo;
using namespace kelvo::testing;

namespace {
class LearningTest : public BundledEngineTest {
protected:
    TemporaryFolder folder;
    std::shared_ptr<UserPhraseStore> store =
        std::make_shared<UserPhraseStore>(folder / "Kelvo/userphrases.json");

    void SetUp() override {
        BundledEngineTest::SetUp();
        engine.setUserPhrases(store);
    }
    // The store saves what is unsaved as it goes: it must go before its folder.
    void TearDown() override { engine.setUserPhrases(nullptr); }

    // Types ㄇㄚ ㄇㄚ and picks 嗎 for the first and 嬤 for the second, one character at a time.
    void assembleMaMa() {
        type("{ㄇㄚ}{ㄇㄚ}{left}");
        pick("嗎");
        pick("嬤");
    }

    bool offered(const std::string& script, const std::string& value) {
        type(script);
        type("{left}{left}{right}{down}");
        engine.setCandidatesExpanded(true);
        auto view = engine.sheetView();
        bool found = false;
        if (view)
            for (const auto& item : view->items)
                found = found || item.value == value;
        engine.handle(KeyInput::of(Kind::escape));
        engine.flush();
        return found;
    }
};
} // namespace

TEST_F(LearningTest, AWordAssembledTwiceIsLearnedAndOffered) {
    EXPECT_FALSE(offered("{ㄇㄚ}{ㄇㄚ}", "嗎嬤"));
    assembleMaMa();
    EXPECT_EQ(engine.flush(), "嗎嬤");
    EXPECT_EQ(store->data().pendingWords.at("ㄇㄚ-ㄇㄚ").at("嗎嬤").count, 1);
    EXPECT_GT(store->bonus("ㄇㄚ", "嗎"), 0.0);
    assembleMaMa();
    engine.flush();
    EXPECT_EQ(store->userWords("ㄇㄚ-ㄇㄚ"), (std::vector<Unigram>{{"嗎嬤", -8.0}}));
    EXPECT_TRUE(offered("{ㄇㄚ}{ㄇㄚ}", "嗎嬤"));
    store->flush();
    UserPhraseStore reloaded(folder / "Kelvo/userphrases.json");
    reloaded.flush();
    EXPECT_EQ(reloaded.userWords("ㄇㄚ-ㄇㄚ").size(), 1u);

    configure(engine, [&](EngineSettings& s) { s.learning = false; });
    EXPECT_FALSE(offered("{ㄇㄚ}{ㄇㄚ}", "嗎嬤")); // learned words reach the decoder only with learning on
    configure(engine, [&](EngineSettings& s) { s.learning = true; });
    EXPECT_TRUE(offered("{ㄇㄚ}{ㄇㄚ}", "嗎嬤"));
}

TEST_F(LearningTest, NothingIsReportedWithLearningOff) {
    configure(engine, [&](EngineSettings& s) { s.learning = false; });
    assembleMaMa();
    engine.flush();
    type("{ㄐㄧㄣ}{ㄊㄧㄢ}{ㄊㄧㄢ}{ㄑㄧˋ}{enter}");
    EXPECT_TRUE(store->data().selections.empty());
    EXPECT_TRUE(store->data().pendingWords.empty());
    EXPECT_EQ(store->transitionCount(), 0u);
    EXPECT_FALSE(std::filesystem::exists(folder / "Kelvo/userphrases.json"));
}

TEST_F(LearningTest, ALiteralSplitsTheCommittedSequences) {
    type("{ㄐㄧㄣ}{ㄊㄧㄢ}{ㄊㄧㄢ}{ㄑㄧˋ}<{ㄐㄧㄣ}{ㄊㄧㄢ}{ㄊㄧㄢ}{ㄑㄧˋ}{enter}");
    EXPECT_EQ(store->data().transitions.at("今天").at("天氣").count, 2); // once on each side
    EXPECT_EQ(store->transitionBonus("天氣", "今天"), 0.0);              // nothing crosses the comma
    EXPECT_EQ(store->transitionCount(), 1u);
}

TEST_F(LearningTest, AbandonedCompositionsTeachNothing) {
    assembleMaMa();
    engine.handle(KeyInput::of(Kind::escape));
    EXPECT_TRUE(engine.isIdle());
    EXPECT_TRUE(store->data().selections.empty());
}

TEST_F(LearningTest, HooksOutliveNeitherTheStoreNorTheEngine) {
    auto lone = std::make_shared<UserPhraseStore>();
    lone->noteWordCandidate("ㄇㄚ-ㄇㄚ", "嗎嬤");
    lone->noteWordCandidate("ㄇㄚ-ㄇㄚ", "嗎嬤");
    engine.setUserPhrases(lone);
    EXPECT_TRUE(offered("{ㄇㄚ}{ㄇㄚ}", "嗎嬤"));
    engine.setUserPhrases(nullptr);
    EXPECT_FALSE(offered("{ㄇㄚ}{ㄇㄚ}", "嗎嬤"));
}

TEST_F(LearningTest, EnglishCommittedIsLearnedAndChineseChosenOverEnglishCountsAgainstIt) {
    // As Zhuyin these letters and the next key are a syllable (ㄌㄧㄣ, then ㄕ in ㄌ's slot).
    EXPECT_NE(typeScript("xupg4"), "xup 是");
    EXPECT_EQ(typeScript("XUP"), "XUP");
    EXPECT_EQ(typeScript("XUP"), "XUP");
    EXPECT_TRUE(store->knowsEnglishWord("xup"));
    EXPECT_EQ(typeScript("xupg4"), "xup 是"); // now a word of the user's
    configure(engine, [&](EngineSettings& s) { s.learning = false; });
    EXPECT_NE(typeScript("xupg4"), "xup 是"); // learned English reaches the reading only with learning on
    configure(engine, [&](EngineSettings& s) { s.learning = true; });

    // The English list for "ok" offers its spellings and then the Chinese reading: choosing
    // Chinese counts once against the English reading of those keys, whatever the spellings.
    type("ok{down}");
    auto view = engine.sheetView();
    ASSERT_TRUE(view);
    ASSERT_GE(view->items.size(), 3u);
    engine.selectCandidate(view->items.back().index);
    engine.flush();
    EXPECT_EQ(store->data().englishReadings.at("ok").at("chinese").count, 1);
    EXPECT_LT(store->englishAdjustment("ok"), 0.0);
    EXPECT_FALSE(store->knowsEnglishWord("ok"));

    store->flush();
    UserPhraseStore reread(folder / "Kelvo/userphrases.json");
    reread.flush();
    EXPECT_TRUE(reread.knowsEnglishWord("xup"));
    EXPECT_LT(reread.englishAdjustment("ok"), 0.0);
}

TEST_F(LearningTest, AWordOfTheUsersOwnIsTypedWhereTheDictionaryHasNoSuchSyllable) {
    EXPECT_EQ(typeScript("zu3zu3"), "zu3zu3"); // ㄈㄧˇ is no syllable of the dictionary: English keys
    store->noteWordCandidate("ㄈㄧˇ-ㄈㄧˇ", "飛飛");
    store->noteWordCandidate("ㄈㄧˇ-ㄈㄧˇ", "飛飛");
    EXPECT_EQ(typeScript("zu3zu3"), "飛飛");
}

// A word chosen once comes back in the same place the next time, though the word-pair model
// prefers the word it replaced there (意味著 is common text, 意謂著 the user's).
TEST_F(LearningTest, AChoiceComesBackAgainstTheWordPairModel) {
    const char* script = "{ㄓㄜˋ}{ㄎㄜˇ}{ㄋㄥˊ}{ㄧˋ}{ㄨㄟˋ}{ㄓㄜ˙}{ㄋㄧㄣˊ}{ㄉㄜ˙}{ㄧㄠ}{ㄑㄧㄡˊ}";
    EXPECT_EQ(type(script), "這可能意味著您的要求");
    type("{left}{left}{left}{left}{left}"); // after 意味
    pick("意謂");
    EXPECT_EQ(engine.flush(), "這可能意謂著您的要求");
    EXPECT_EQ(typeScript(script), "這可能意謂著您的要求");
}

// A word chosen for one stretch counts at once for the other stretches of its reading, not only
// after the commit.
TEST_F(LearningTest, AChoiceCountsAtOnceForTheSameReadingElsewhereInTheComposition) {
    ASSERT_EQ(type("{ㄒㄩㄢˊ}{ㄊㄧㄥˊ}{ㄉㄜ˙}{ㄒㄩㄢˊ}{ㄊㄧㄥˊ}"), "旋停的旋停");
    type("{left}{left}{left}{left}{left}{right}");
    pick("懸");
    EXPECT_EQ(engine.preedit().text(), "懸停的懸停");
    EXPECT_EQ(store->bonus("ㄒㄩㄢˊ", "懸"), 0.0); // learned only when committed
}
