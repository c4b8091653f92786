// English typed on the Zhuyin keys, with the bundled dictionary and the system word list.
#include "BundledEngineSupport.hpp"

using namespace kelvo;
using namespace kelvo::testing;

TEST_F(BundledEngineTest, EnglishTermAndSpaceBecomeLiterals) {
    EXPECT_EQ(type("github"), "github"); // shown as English while typed
    EXPECT_EQ(engine.preedit().pieces[0].style, Style::converted);
    EXPECT_EQ(type(" "), "github ");
    EXPECT_EQ(engine.flush(), "GitHub ");
    configure(engine, [&](EngineSettings& s) { s.formatting.preferredCapitalization = false; });
    type("github ");
    EXPECT_EQ(engine.flush(), "github ");
}

TEST_F(BundledEngineTest, EnglishFollowedByOneSyllable) {
    EXPECT_EQ(type("github2"), "github2"); // held: the 2 may be a version or a syllable
    EXPECT_FALSE(engine.isIdle());
    type("k");
    EXPECT_EQ(type("7"), "github的");
    auto feedback = engine.feedback();
    ASSERT_TRUE(feedback);
    EXPECT_EQ(feedback->rawKeys, "g i t h u b 2k7");
    EXPECT_EQ(feedback->zhuyin, "g i t h u b ㄉㄜ˙");
}

TEST_F(BundledEngineTest, HeldEnglishKeysEndByKey) {
    type("version2");
    EXPECT_EQ(engine.preedit().text(), "version2");
    type("3");
    EXPECT_EQ(engine.preedit().text(), "version23");
    engine.handle(KeyInput::of(Kind::backspace));
    EXPECT_EQ(engine.preedit().text(), "version2");
    engine.handle(KeyInput::of(Kind::escape));
    EXPECT_TRUE(engine.isIdle());
    type("version2 ");
    EXPECT_EQ(engine.preedit().text(), "version2 ");
    EXPECT_EQ(engine.flush(), "version2 ");
    type("version2{bs}");
    EXPECT_EQ(engine.preedit().text(), "version");
    engine.handle(KeyInput::of(Kind::backspace));
    EXPECT_EQ(engine.preedit().text(), "versio");
}

TEST_F(BundledEngineTest, EnglishKeysShowAsTheWordTheyAreWithTheSyllableAfterInZhuyin) {
    type("zxcv");
    EXPECT_EQ(engine.preedit().text(), "zxcv");
    EXPECT_EQ(engine.preedit().pieces[0].style, Style::converted);
    engine.handle(KeyInput::of(KeyInput::Kind::escape));
    EXPECT_EQ(type("gnomeu"), "gnomeㄧ");
    EXPECT_EQ(type("/3"), "gnome影");
    EXPECT_EQ(engine.flush(), "gnome 影");
}

TEST_F(BundledEngineTest, SwitchingEnglishRecognitionOffKeepsKeysZhuyin) {
    configure(engine, [&](EngineSettings& s) { s.automaticEnglish = false; });
    EXPECT_NE(type("github"), "github");
    engine.flush();
    configure(engine, [&](EngineSettings& s) { s.automaticEnglish = true; });
    configure(engine, [&](EngineSettings& s) { s.englishHint = false; });
    EXPECT_NE(type("github"), "github");
}

TEST_F(BundledEngineTest, BilingualListOffersEnglishFormsAndTheChineseReading) {
    configure(engine,
              [&](EngineSettings& s) { s.automaticEnglish = false; }); // leave the keys in the composer
    type("github{down}");
    auto view = engine.sheetView();
    ASSERT_TRUE(view);
    auto listed = values(*view);
    ASSERT_EQ(listed.size(), 5u);
    EXPECT_EQ(std::vector<std::string>(listed.begin(), listed.end() - 1),
              (std::vector<std::string>{"GitHub", "github", "Github", "GITHUB"}));
    engine.handle(KeyInput::of(Kind::escape));
    engine.flush();
    configure(engine, [&](EngineSettings& s) { s.formatting.preferredCapitalization = false; });
    type("github{down}");
    listed = values(*engine.sheetView());
    EXPECT_EQ(std::vector<std::string>(listed.begin(), listed.end() - 1),
              (std::vector<std::string>{"github", "Github", "GITHUB"}));
    type("2"); // picks Github, which keeps its case at commit
    EXPECT_EQ(engine.flush(), "Github");
}

TEST_F(BundledEngineTest, SpaceOffersAnUnlistedSpellingInTheBilingualListAndTypingOnTakesIt) {
    type("zq ");
    auto view = engine.sheetView();
    ASSERT_TRUE(view);
    EXPECT_EQ(values(*view).front(), "zq");
    type("2");
    EXPECT_EQ(engine.flush(), "Zq");
    type("zq ji4"); // the next key takes the English with its Space
    EXPECT_FALSE(engine.sheetView());
    EXPECT_EQ(engine.flush(), "zq 握");
    type("zq ");
    engine.handle(KeyInput::of(Kind::backspace)); // takes back the Space
    EXPECT_EQ(engine.preedit().text(), "zq");
    EXPECT_FALSE(engine.sheetView());
    engine.flush();
    type("zq ");
    EXPECT_EQ(engine.flush(), "zq "); // a commit with the list open keeps the Space
    type("github ");                  // a listed word is settled at once
    EXPECT_FALSE(engine.sheetView());
}

TEST_F(BundledEngineTest, EnglishHintOffersTheWordAndTabTakesIt) {
    configure(engine, [&](EngineSettings& s) { s.automaticEnglish = false; });
    type("hello");
    auto hint = engine.englishHintView();
    ASSERT_TRUE(hint);
    EXPECT_EQ(hint->items, (std::vector<InputEngine::SheetView::Item>{{"⇥", "hello", -1}}));
    EXPECT_TRUE(engine.selectCandidate(-1));
    EXPECT_EQ(engine.preedit().text(), "hello");
    EXPECT_FALSE(engine.englishHintView());
}

TEST_F(BundledEngineTest, TheEnglishHintShowsOnlyWhereEnglishLeads) {
    // "ru" is a listed word and the keys of ㄐㄧ: after 手 the syllable leads, so no hint flashes…
    type("{ㄕㄡˇ}ru");
    EXPECT_FALSE(engine.englishHintView());
    // …yet Tab still takes the keys as English.
    engine.handle(KeyInput::of(KeyInput::Kind::tab));
    EXPECT_TRUE(engine.preedit().text().ends_with("ru")) << engine.preedit().text();
    type("{esc}{esc}");
    // ㄙㄟ is no syllable the dictionary has: "no" is English as typed, no hint needed.
    EXPECT_EQ(type("no"), "no");
    EXPECT_FALSE(engine.englishHintView());
}

TEST_F(BundledEngineTest, ExplicitlyChosenEnglishKeepsItsPlaceAfterChinese) {
    configure(engine, [&](EngineSettings& s) { s.automaticEnglish = false; });
    configure(engine, [&](EngineSettings& s) { s.formatting.punctuationMode = PunctuationMode::chinese; });
    type("{ㄋㄧˇ}{ㄏㄠˇ}api{down}");
    type("2"); // "api" as typed, chosen after two Chinese characters
    EXPECT_EQ(engine.flush(), "你好 api");
}

// Asked before Enter, the text to commit is what Enter commits: letters the marked text still shows
// as a syllable to come are the English they spell. Asking changes nothing.
TEST_F(BundledEngineTest, TheTextToCommitIsWhatEnterCommits) {
    EXPECT_EQ(type("{ㄊㄡˋ}{ㄍㄨㄛˋ}mtp"), "透過mtㄣ");
    EXPECT_EQ(engine.textToCommit(), "透過 mtp");
    EXPECT_EQ(engine.preedit().text(), "透過mtㄣ");
    EXPECT_EQ(engine.flush(), "透過 mtp");
    EXPECT_EQ(engine.textToCommit(), std::nullopt);
}
