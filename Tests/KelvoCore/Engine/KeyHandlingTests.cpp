#include "EngineTestSupport.hpp"

using namespace kelvo;
using namespace kelvo::testing;

TEST_F(EngineTest, NewEngineIsIdleAndPassesKeysOn) {
    EXPECT_TRUE(engine.isIdle());
    EXPECT_EQ(engine.preedit(), InputEngine::Preedit{});
    EXPECT_FALSE(engine.feedback());
    EXPECT_FALSE(engine.sheetView());
    EXPECT_FALSE(engine.englishHintView());
    for (Kind kind : {Kind::arrowLeft, Kind::arrowRight, Kind::arrowUp, Kind::arrowDown, Kind::pageUp,
                      Kind::pageDown, Kind::space, Kind::enter, Kind::escape, Kind::tab})
        EXPECT_EQ(press(kind), notHandledOutput) << static_cast<int>(kind);
    EXPECT_EQ(press(Kind::backspace), notHandledOutput);
    EXPECT_FALSE(engine.selectCandidate(0));
    EXPECT_FALSE(engine.flush());
    EXPECT_TRUE(engine.isIdle());
}

TEST_F(EngineTest, TwoSyllablesDecodeAsOneWordAndEnterCommitsIt) {
    type("su3cl3");
    EXPECT_EQ(engine.preedit().pieces, (std::vector<Piece>{{"你好", Style::active}}));
    EXPECT_EQ(engine.preedit().caretUTF16, 2);
    EXPECT_EQ(press(Kind::enter), (InputEngine::Output{true, "你好"}));
    EXPECT_TRUE(engine.isIdle());
    EXPECT_EQ(engine.preedit(), InputEngine::Preedit{});
}

TEST_F(EngineTest, UnmappedKeyCommitsTheCompositionAndStillReachesTheClient) {
    EXPECT_EQ(type("="), notHandledOutput);
    type("su3");
    EXPECT_EQ(type("="), (InputEngine::Output{false, "你"}));
    EXPECT_TRUE(engine.isIdle());
}

TEST_F(EngineTest, AKeyThatCannotContinueAPartialSyllableIsNeverLost) {
    type("su");
    EXPECT_EQ(type("="), (InputEngine::Output{false, "ㄋㄧ"})); // committed as shown, "=" reaches the client
    EXPECT_TRUE(engine.isIdle());
    type("su");
    engine.handle(KeyInput::english("A")); // a Shift letter starts a literal run after them
    EXPECT_EQ(text(), "ㄋㄧA");
    engine.flush();
    type("su3c");
    EXPECT_EQ(type("!"), handledOutput); // a mapped mark follows the syllable it settles
    EXPECT_EQ(text(), "你ㄏ！");
    EXPECT_EQ(engine.preedit().caretUTF16, 3);
}

TEST_F(EngineTest, ShiftedPunctuationEntersAsLiteralsByMode) {
    type("su3<");
    EXPECT_EQ(text(), "你，");
    configure(engine, [&](EngineSettings& s) { s.formatting.punctuationMode = PunctuationMode::english; });
    EXPECT_EQ(type("?"), (InputEngine::Output{false, "你，"}));
    configure(engine, [&](EngineSettings& s) { s.formatting.punctuationMode = PunctuationMode::english; });
    type("su3");
    EXPECT_EQ(type("!"), (InputEngine::Output{false, "你"}));
    configure(engine, [&](EngineSettings& s) { s.formatting.punctuationMode = PunctuationMode::smart; });
    EXPECT_EQ(type("!"), handledOutput);
    EXPECT_EQ(text(), "！");
}

TEST_F(EngineTest, DotsAfterTheFinalKeyBecomeLiterals) {
    type("su3.");
    EXPECT_EQ(text(), "你ㄡ");
    type(".");
    EXPECT_EQ(text(), "你..");
    type(".");
    EXPECT_EQ(text(), "你...");
}

TEST_F(EngineTest, SchemeAndColonStartALiteralRunUntilEscapeOrArrows) {
    type("http:");
    EXPECT_TRUE(engine.isInLiteralRun());
    EXPECT_EQ(text(), "http:");
    type("//a.b ");
    EXPECT_EQ(text(), "http://a.b ");
    EXPECT_EQ(press(Kind::escape), handledOutput);
    EXPECT_FALSE(engine.isInLiteralRun());
    EXPECT_EQ(text(), "http://a.b ");
    type("su3");
    EXPECT_EQ(text(), "http://a.b 你");
}

TEST_F(EngineTest, SpaceInsertsALiteralOnlyInsideAComposition) {
    EXPECT_EQ(press(Kind::space), notHandledOutput);
    type("su3");
    EXPECT_EQ(press(Kind::space), handledOutput);
    EXPECT_EQ(text(), "你 ");
    EXPECT_EQ(engine.feedback()->rawKeys, "su3 ␣");
}

TEST_F(EngineTest, BackspaceEditsTheSyllableThenTheElements) {
    type("su3cl");
    EXPECT_EQ(press(Kind::backspace), handledOutput);
    EXPECT_EQ(text(), "你ㄏ");
    press(Kind::backspace);
    EXPECT_EQ(text(), "你");
    press(Kind::backspace);
    EXPECT_TRUE(engine.isIdle());
    EXPECT_EQ(press(Kind::backspace), notHandledOutput);

    type("su3cl3{left}{left}");
    EXPECT_EQ(press(Kind::backspace), handledOutput); // cursor 0: nothing to remove
    EXPECT_EQ(text(), "你好");
}

TEST_F(EngineTest, BackspaceEndsALiteralRunWhenNoLiteralIsLeftBeforeTheCursor) {
    type("su3");
    engine.handle(KeyInput::english("A"));
    EXPECT_TRUE(engine.isInLiteralRun());
    type("b{bs}");
    EXPECT_TRUE(engine.isInLiteralRun());
    press(Kind::backspace);
    EXPECT_FALSE(engine.isInLiteralRun());
    EXPECT_EQ(text(), "你");
}

TEST_F(EngineTest, EscapeUnwindsOneLevelAtATime) {
    type("su3");
    engine.handle(KeyInput::english("A"));
    type("8"); // a literal in the run
    EXPECT_EQ(press(Kind::escape), handledOutput);
    EXPECT_FALSE(engine.isInLiteralRun());
    type("cl");
    EXPECT_EQ(press(Kind::escape), handledOutput);
    EXPECT_EQ(text(), "你A8");
    EXPECT_EQ(press(Kind::escape), handledOutput);
    EXPECT_TRUE(engine.isIdle());
    EXPECT_EQ(press(Kind::escape), notHandledOutput);
}

TEST_F(EngineTest, ArrowsMoveTheCursorOnlyBetweenWholeSyllables) {
    type("su3cl3");
    EXPECT_EQ(press(Kind::arrowLeft), handledOutput);
    EXPECT_EQ(engine.preedit().caretUTF16, 1);
    type("a8");
    EXPECT_EQ(press(Kind::arrowRight), handledOutput); // a partial syllable holds the cursor
    EXPECT_EQ(engine.preedit().caretUTF16, 1 + 2);
    type(" ");
    EXPECT_EQ(text(), "你媽好");
    EXPECT_EQ(engine.preedit().caretUTF16, 2);
    type("{right}{right}");
    EXPECT_EQ(engine.preedit().caretUTF16, 3);
    EXPECT_EQ(press(Kind::arrowUp), handledOutput);
    EXPECT_EQ(press(Kind::pageUp), handledOutput);
    EXPECT_EQ(press(Kind::pageDown), handledOutput);
    EXPECT_EQ(press(Kind::tab), handledOutput);
}

TEST_F(EngineTest, InsertingInsideAPinnedWordDropsThePin) {
    type("w8 a8 ");
    press(Kind::arrowDown); // 他們的字, 他, 她, then 媽, 麻 of the element at the cursor
    ASSERT_EQ(engine.sheetView()->items.size(), 5u);
    type("{enter}{left}su3");
    EXPECT_EQ(text(), "他你媽");
}

TEST_F(EngineTest, AutoRepeatOfALetterBecomesALiteralAndStartsARun) {
    type("a");
    EXPECT_EQ(engine.handle(KeyInput::repeated("a")), handledOutput);
    EXPECT_EQ(text(), "a");
    EXPECT_TRUE(engine.isInLiteralRun());
    engine.handle(KeyInput::repeated("a"));
    engine.handle(KeyInput::repeated("a"));
    EXPECT_EQ(text(), "a");
    type("b");
    EXPECT_EQ(text(), "ab");

    type("{esc}{esc}1");
    engine.handle(KeyInput::repeated("1"));
    EXPECT_EQ(text(), "1");
    EXPECT_FALSE(engine.isInLiteralRun());
}
