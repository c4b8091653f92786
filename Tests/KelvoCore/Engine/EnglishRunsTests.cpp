// English typed on the Zhuyin keys, with the bundled dictionary and the system word list.
#include "BundledEngineSupport.hpp"

using namespace kelvo;
using namespace kelvo::testing;

TEST_F(BundledEngineTest, EnglishKeysShowAsTheWordTheyAreAndEndByKey) {
    type("github");
    EXPECT_EQ(engine.preedit().pieces[0].style, Style::converted); // English, not keys still to read
    engine.flush();
    expectSeen(engine, {
                           {"github ", "[github |]"},
                           {"github {enter}", "GitHub []"},
                           {"zxcv", "[zxcv|]"},
                           // Held: a digit after a word may be a version or a syllable.
                           {"github2", "[github2|]"},
                           {"github2k7", "[github的|]"},
                           {"version23{bs}", "[version2|]"},
                           {"version2{esc}", "[]"},
                           {"version2 {enter}", "version2 []"},
                           {"version2{bs}{bs}", "[versio|]"},
                           // The syllable after a word shows in Zhuyin until its tone key.
                           {"gnomeu", "[gnomeㄧ|]"},
                           {"gnomeu/3{enter}", "gnome 影[]"},
                       });
    type("github2k7");
    EXPECT_EQ(engine.feedback()->rawKeys, "g i t h u b 2k7");
    EXPECT_EQ(engine.feedback()->zhuyin, "g i t h u b ㄉㄜ˙");
    engine.flush();
    configure(engine, [&](EngineSettings& s) { s.formatting.preferredCapitalization = false; });
    expectSeen(engine, {{"github {enter}", "github []"}});
}

TEST_F(BundledEngineTest, BilingualListOffersEnglishFormsAndTheChineseReading) {
    configure(engine,
              [&](EngineSettings& s) { s.automaticEnglish = false; }); // the keys stay in the composer
    expectLists(engine, {{"github{down}", "[1.GitHub] 2.github 3.Github 4.GITHUB 5.ㄖㄧㄛ 1/1"}});
    configure(engine, [&](EngineSettings& s) { s.formatting.preferredCapitalization = false; });
    expectLists(engine, {{"github{down}", "[1.github] 2.Github 3.GITHUB 4.ㄖㄧㄛ 1/1"}});
    expectSeen(engine, {{"github{down}2{enter}", "Github[]"}}); // a chosen form keeps its case
}

TEST_F(BundledEngineTest, SpaceOffersAnUnlistedSpellingInTheBilingualListAndTypingOnTakesIt) {
    type("zq ");
    ASSERT_TRUE(engine.sheetView());
    EXPECT_EQ(engine.sheetView()->items.front().value, "zq");
    EXPECT_EQ(engine.flush(), "zq "); // a commit with the list open keeps the Space
    expectSeen(engine, {
                           {"zq ", "[zq|]▾"},
                           {"zq 2{enter}", "Zq[]"},
                           {"zq ji4{enter}", "zq 握[]"}, // the next key takes the English with its Space
                           {"zq {bs}", "[zq|]"},         // Backspace takes back the Space
                           {"github ", "[github |]"},    // a listed word is settled at once
                       });
}

TEST_F(BundledEngineTest, TheEnglishHintShowsOnlyWhereEnglishLeadsAndTabTakesIt) {
    // "ru" is a listed word and the keys of ㄐㄧ: after 首 the syllable leads, so no hint flashes, yet
    // Tab still takes the keys as English. ㄙㄟ is no syllable the dictionary has: "no" needs no hint.
    for (const char* keys : {"{ㄕㄡˇ}ru", "no"}) {
        type(keys);
        EXPECT_FALSE(engine.englishHintView()) << keys;
        engine.flush();
    }
    expectSeen(engine, {{"{ㄕㄡˇ}ru{tab}", "[首ru|]"}, {"no", "[no|]"}});
    // Keys left to the composer: the hint offers the word, Tab takes it; without the hint, nothing
    // reads the keys as English.
    configure(engine, [&](EngineSettings& s) { s.automaticEnglish = false; });
    type("hello");
    ASSERT_TRUE(engine.englishHintView());
    EXPECT_EQ(engine.englishHintView()->items,
              (std::vector<InputEngine::SheetView::Item>{{"⇥", "hello", -1}}));
    engine.flush();
    expectSeen(engine, {{"hello{tab}", "[hello|]"}, {"github", "[ㄖㄧㄛ|]"}});
    configure(engine, [&](EngineSettings& s) {
        s.automaticEnglish = true;
        s.englishHint = false;
    });
    expectSeen(engine, {{"github", "[ㄖㄧㄛ|]"}});
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
