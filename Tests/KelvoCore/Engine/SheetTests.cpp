#include "EngineTestSupport.hpp"

using namespace kelvo;
using namespace kelvo::testing;

TEST_F(EngineTest, ListKeysPageMoveExpandWrapAndClose) {
    expectLists({
        {"18 {down}", "[1.一] 2.二 3.三 4.四 5.五 6.六 7.七 8.八 9.九 1/3"},
        {"18 {down}{tab}{right}{right}{right}", "1.十 2.甲 3.乙 [4.丙] 5.丁 6.戊 7.己 8.庚 9.辛 2/3"},
        // Down on the last row expands the list; the digits stay with the page.
        {"18 {down}{tab}{right}{right}{right}{down}",
         "一 二 三 四 五 六 七 八 九 1.十 2.甲 3.乙 [4.丙] 5.丁 6.戊 7.己 8.庚 9.辛 壬 癸 2/3+"},
        {"18 {down}{tab}{right}{right}{right}{down}{up}",
         "1.一 2.二 3.三 [4.四] 5.五 6.六 7.七 8.八 9.九 十 甲 乙 丙 丁 戊 己 庚 辛 壬 癸 1/3+"},
        {"18 {down}{tab}{right}{right}{right}{down}{up}{up}",
         "1.一 2.二 3.三 [4.四] 5.五 6.六 7.七 8.八 9.九 1/3"},
        {"18 {down}{pgdn}{pgdn}{pgdn}", "1.壬 [2.癸] 3/3"},
        // Space past the last wraps to the first; Left and Page Up stop there.
        {"18 {down}{pgdn}{pgdn}{pgdn} {left}{pgup}", "[1.一] 2.二 3.三 4.四 5.五 6.六 7.七 8.八 9.九 1/3"},
        // A short list moves instead of expanding.
        {"su3{down}{down}", "1.你 [2.妳] 1/1"},
        {"su3{down}5", "[1.你] 2.妳 1/1"}, // a digit beyond the list is swallowed
        {"su3{down}{esc}", "(none)"},
        {"su3{down}{bs}", "(none)"},
        {"su3<{down}", "[1.，] 2., 3.< 1/1"}, // punctuation before the cursor offers its variants
        {"su3/{down}{up}", "1./ [2.ㄥ] 1/1"}, // a Zhuyin key as English and as its reading
        {"a{down}", "[1.a] 2.A 3.ㄇ 1/1"},
        {"su3cl3{left}{down}", "[1.你好] 2.你 3.妳 1/1"},
        {"su3cl3{left}{down}3{left}{left}{right}{down}", "1.你好 2.你 [3.妳] 1/1"}, // the current choice
    });
    expectSeen({
        {"18 {down}{right}{right}{right}{tab}2",
         "[甲|]"}, // Tab goes a row on: the second of the page holding 12
        {"18 {down}{hold:1}9", "[九|]"},
        {"18 {down}{esc}", "[一|]"},
        {"18 {down}{bs}", "[]"},   // closes, then edits
        {"su3{down}a", "[你ㄇ|]"}, // other characters close the list and are typed
        {"su3<{down}2", "[你,|]"},
        {"su3/{down}{up}{tab}", "[你/|]+"}, // Tab takes the first English form
        {"su3a{down}7", "[你ㄇ˙|]"},        // beyond the list: closes, then typed (ㄇ˙ has no word)
    });
}

TEST_F(EngineTest, ListsClickedExpandedOrOfNoPages) {
    type("su3{down}");
    engine.setCandidatesExpanded(true);
    EXPECT_FALSE(engine.candidatesExpanded()); // a short list does not expand
    EXPECT_FALSE(engine.selectCandidate(5));
    EXPECT_FALSE(engine.selectCandidate(-1));
    configure(engine, [&](EngineSettings& s) { s.pageSize = 0; }); // counts as a page of one
    EXPECT_EQ(listShown(engine), "[1.你] 1/2");
    EXPECT_TRUE(engine.selectCandidate(1));
    EXPECT_EQ(text(), "妳");
    configure(engine, [&](EngineSettings& s) { s.pageSize = 9; });
    type("18 {down}");
    engine.setCandidatesExpanded(true);
    EXPECT_TRUE(engine.sheetView()->expanded);
    engine.setCandidatesExpanded(false);
    EXPECT_FALSE(engine.sheetView()->expanded);
}

TEST_F(EngineTest, ChoosingAWordOverPinnedCharactersReplacesThosePins) {
    expectSeen({
        {"su3cl3{left}{down}3", "[妳好|]"},                           // 妳 pinned
        {"su3cl3{left}{down}3{left}{left}{right}{down}1", "[你好|]"}, // the cursor goes to the word's end
        {"su3cl3{left}{down}3{left}{left}{right}{down}1{left}{down}{right}{enter}",
         "[你好|]"}, // 你 pinned alone, 好 read again after it
    });
}

TEST_F(EngineTest, AnchorOfTheListIsTheUTF16OffsetOfItsSegment) {
    type("ej/ su3");
    ASSERT_EQ(text(), "𠀀你");
    type("{down}");
    EXPECT_EQ(engine.sheetView()->anchorUTF16, 2);
    type("{esc}{left}{down}");
    EXPECT_EQ(engine.sheetView()->anchorUTF16, 0);
}

TEST_F(EngineTest, PunctuationChosenFromTheListStaysAsChosen) {
    type("su3<{down}2");
    configure(engine, [&](EngineSettings& s) { s.formatting.punctuationMode = PunctuationMode::chinese; });
    EXPECT_EQ(engine.flush(), "你,");
}
