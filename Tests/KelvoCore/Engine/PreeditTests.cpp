#include "EngineTestSupport.hpp"

using namespace kelvo;
using namespace kelvo::testing;

TEST_F(EngineTest, PartialSyllableIsARawPiece) {
    type("su");
    auto preedit = engine.preedit();
    EXPECT_EQ(preedit.pieces, (std::vector<Piece>{{"ㄋㄧ", Style::raw}}));
    EXPECT_EQ(preedit.caretUTF16, 2);
    EXPECT_FALSE(preedit.activeRangeUTF16);
    EXPECT_EQ(engine.feedback(), (InputEngine::Feedback{"ㄋㄧ", "ㄋㄧ", "su"}));
}

TEST_F(EngineTest, WordAtTheCursorIsActive) {
    type("su3cl3");
    auto preedit = engine.preedit();
    EXPECT_EQ(preedit.pieces, (std::vector<Piece>{{"你好", Style::active}}));
    EXPECT_EQ(preedit.activeRangeUTF16, (InputEngine::Preedit::Range{1, 1}));
    type("w8 ");
    preedit = engine.preedit();
    EXPECT_EQ(preedit.pieces, (std::vector<Piece>{{"你好", Style::converted}, {"他", Style::active}}));
    EXPECT_EQ(preedit.activeRangeUTF16, (InputEngine::Preedit::Range{2, 1}));
    EXPECT_EQ(engine.feedback(), (InputEngine::Feedback{"你好他", "ㄋㄧˇ ㄏㄠˇ ㄊㄚ", "su3 cl3 w8␣"}));
}

TEST_F(EngineTest, PendingSyllableAtTheCursorComesBeforeTheElementsAfterIt) {
    type("su3cl3{left}{left}a8");
    auto preedit = engine.preedit();
    EXPECT_EQ(preedit.pieces, (std::vector<Piece>{{"ㄇㄚ", Style::raw}, {"你好", Style::active}}));
    EXPECT_EQ(preedit.caretUTF16, 2);
    EXPECT_FALSE(preedit.activeRangeUTF16); // a syllable is being typed
    EXPECT_EQ(engine.feedback(), (InputEngine::Feedback{"ㄇㄚ你好", "ㄇㄚ ㄋㄧˇ ㄏㄠˇ", "a8 su3 cl3"}));
    EXPECT_EQ(engine.flush(), "ㄇㄚ你好"); // the partial syllable commits as shown, at the cursor
}

TEST_F(EngineTest, LiteralsAreNeverActive) {
    type("su3<");
    auto preedit = engine.preedit();
    // The anchor is the literal, so no element is active and the two pieces merge.
    EXPECT_EQ(preedit.pieces, (std::vector<Piece>{{"你，", Style::converted}}));
    EXPECT_FALSE(preedit.activeRangeUTF16);
    EXPECT_EQ(preedit.caretUTF16, 2);
}

TEST_F(EngineTest, WordShorterThanItsSpanShowsOnItsFirstElement) {
    type("w8 a8 ");
    EXPECT_EQ(text(), "他們的字");
    auto preedit = engine.preedit();
    EXPECT_EQ(preedit.pieces, (std::vector<Piece>{{"他們的字", Style::active}}));
    EXPECT_FALSE(preedit.activeRangeUTF16); // the element at the cursor shows nothing
    type("{left}");
    EXPECT_EQ(engine.preedit().activeRangeUTF16, (InputEngine::Preedit::Range{0, 4}));
    EXPECT_EQ(engine.preedit().caretUTF16, 4);
}

TEST_F(EngineTest, OffsetsCountUTF16UnitsBeyondTheBMP) {
    type("ej/ ej/ su3");
    ASSERT_EQ(text(), "𠀀𠀀你");
    auto preedit = engine.preedit();
    EXPECT_EQ(preedit.caretUTF16, 5);
    EXPECT_EQ(preedit.activeRangeUTF16, (InputEngine::Preedit::Range{4, 1}));
    type("{left}");
    preedit = engine.preedit();
    EXPECT_EQ(preedit.caretUTF16, 4);
    EXPECT_EQ(preedit.activeRangeUTF16, (InputEngine::Preedit::Range{2, 2}));
    type("su");
    EXPECT_EQ(engine.preedit().caretUTF16, 6);
}
