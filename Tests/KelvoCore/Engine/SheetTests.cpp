#include "EngineTestSupport.hpp"

using namespace kelvo;
using namespace kelvo::testing;

namespace {
std::vector<std::string> labels(const InputEngine::SheetView& view) {
    std::vector<std::string> result;
    for (const auto& item : view.items)
        result.push_back(item.label);
    return result;
}
} // namespace

TEST_F(EngineTest, TwentyCandidatesPageByNine) {
    type("18 ");
    EXPECT_EQ(press(Kind::arrowDown), handledOutput);
    ASSERT_TRUE(engine.sheetView());
    EXPECT_EQ(engine.sheetView()->items.size(), 9u);
    press(Kind::tab); // 9
    type("{right}{right}");
    press(Kind::arrowRight); // 12
    auto view = *engine.sheetView();
    EXPECT_EQ(values(view), (std::vector<std::string>{"十", "甲", "乙", "丙", "丁", "戊", "己", "庚", "辛"}));
    EXPECT_EQ(labels(view), (std::vector<std::string>{"1", "2", "3", "4", "5", "6", "7", "8", "9"}));
    EXPECT_EQ(view.items.front().index, 9);
    EXPECT_EQ(view.highlightedInPage, 3);
    EXPECT_EQ(view.pageIndex, 1);
    EXPECT_EQ(view.pageCount, 3);
    EXPECT_FALSE(view.expanded);

    EXPECT_EQ(press(Kind::arrowDown), handledOutput); // expands
    view = *engine.sheetView();
    EXPECT_TRUE(engine.candidatesExpanded());
    EXPECT_EQ(view.items.size(), 20u);
    EXPECT_EQ(view.highlightedInPage, 12);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(view.items[i].label, i >= 9 && i < 18 ? std::to_string(i - 8) : "") << i;
    press(Kind::arrowUp);
    EXPECT_EQ(engine.sheetView()->highlightedInPage, 3);
    press(Kind::arrowUp);
    EXPECT_FALSE(engine.candidatesExpanded());
    EXPECT_EQ(engine.sheetView()->highlightedInPage, 3);

    press(Kind::tab); // 12
    type("2");        // the second of the page holding 12: candidate 10
    EXPECT_FALSE(engine.sheetView());
    EXPECT_EQ(text(), "甲");
}

TEST_F(EngineTest, SheetKeysMoveWrapAndClose) {
    type("18 {down}{pgdn}{pgdn}{pgdn}");
    EXPECT_EQ(engine.sheetView()->highlightedInPage, 19 - 18);
    press(Kind::space); // wraps to the first
    EXPECT_EQ(engine.sheetView()->pageIndex, 0);
    EXPECT_EQ(engine.sheetView()->highlightedInPage, 0);
    press(Kind::arrowLeft);
    EXPECT_EQ(engine.sheetView()->highlightedInPage, 0);
    press(Kind::pageUp);
    EXPECT_EQ(engine.sheetView()->highlightedInPage, 0);
    EXPECT_EQ(engine.handle(KeyInput::repeated("1")), handledOutput);
    type("9");
    EXPECT_EQ(text(), "九");
    press(Kind::arrowDown);
    EXPECT_EQ(press(Kind::escape), handledOutput);
    EXPECT_FALSE(engine.sheetView());
    EXPECT_EQ(text(), "九");
    press(Kind::arrowDown);
    EXPECT_EQ(press(Kind::backspace), handledOutput); // closes, then edits
    EXPECT_FALSE(engine.sheetView());
    EXPECT_TRUE(engine.isIdle());
}

TEST_F(EngineTest, DigitsBeyondThePageOrListAreSwallowed) {
    type("su3");
    press(Kind::arrowDown); // 你, 妳
    EXPECT_EQ(type("5"), handledOutput);
    EXPECT_TRUE(engine.sheetView());
    configure(engine, [&](EngineSettings& s) { s.pageSize = 0; }); // counts as a page of one
    EXPECT_EQ(engine.sheetView()->pageCount, 2);
    EXPECT_EQ(type("2"), handledOutput);
    EXPECT_TRUE(engine.sheetView());
    configure(engine, [&](EngineSettings& s) { s.pageSize = 9; });
    EXPECT_EQ(type("a"), handledOutput); // other characters close the sheet and are typed
    EXPECT_FALSE(engine.sheetView());
    EXPECT_EQ(text(), "你ㄇ");
}

TEST_F(EngineTest, ShortListsMoveInsteadOfExpanding) {
    type("su3{down}");
    engine.setCandidatesExpanded(true);
    EXPECT_FALSE(engine.candidatesExpanded());
    press(Kind::arrowDown);
    EXPECT_FALSE(engine.candidatesExpanded());
    EXPECT_EQ(engine.sheetView()->highlightedInPage, 1);
    EXPECT_FALSE(engine.selectCandidate(5));
    EXPECT_FALSE(engine.selectCandidate(-1));
    EXPECT_TRUE(engine.selectCandidate(1));
    EXPECT_EQ(text(), "妳");

    type("18 {down}");
    engine.setCandidatesExpanded(true);
    EXPECT_TRUE(engine.sheetView()->expanded);
    engine.setCandidatesExpanded(false);
    EXPECT_FALSE(engine.sheetView()->expanded);
}

TEST_F(EngineTest, ChoosingAWordOverPinnedCharactersReplacesThosePins) {
    type("su3cl3{left}{down}");
    engine.selectCandidate(2); // 妳 pinned at 0
    EXPECT_EQ(text(), "妳好");
    EXPECT_EQ(engine.preedit().caretUTF16, 2);
    type("{left}{left}{right}");
    press(Kind::arrowDown); // at 妳: 你好 first
    EXPECT_EQ(engine.sheetView()->items[0].value, "你好");
    EXPECT_EQ(engine.sheetView()->highlightedInPage, 2); // the current choice, 妳, is highlighted
    engine.selectCandidate(0);
    EXPECT_EQ(text(), "你好");
    EXPECT_EQ(engine.preedit().caretUTF16, 2); // the end, as the word's end plus one is past it
    type("{left}{down}");
    press(Kind::arrowRight); // 你
    press(Kind::enter);
    EXPECT_EQ(text(), "你好"); // 你 pinned alone; 好 decoded again after it
}

TEST_F(EngineTest, AnchorOfTheListIsTheUTF16OffsetOfItsSegment) {
    type("ej/ su3");
    ASSERT_EQ(text(), "𠀀你");
    press(Kind::arrowDown);
    EXPECT_EQ(engine.sheetView()->anchorUTF16, 2);
    type("{esc}{left}{down}");
    EXPECT_EQ(engine.sheetView()->anchorUTF16, 0);
}

TEST_F(EngineTest, PunctuationBeforeTheCursorOffersItsVariants) {
    type("su3<");
    EXPECT_EQ(press(Kind::arrowDown), handledOutput);
    auto view = engine.sheetView();
    ASSERT_TRUE(view);
    EXPECT_EQ(values(*view), (std::vector<std::string>{"，", ",", "<"}));
    EXPECT_EQ(labels(*view), (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_EQ(view->anchorUTF16, 1);
    type("2");
    EXPECT_EQ(text(), "你,");
    configure(engine, [&](EngineSettings& s) { s.formatting.punctuationMode = PunctuationMode::chinese; });
    EXPECT_EQ(engine.flush(), "你,"); // chosen explicitly: not converted back
}

TEST_F(EngineTest, BilingualListKeys) {
    type("su3/");
    press(Kind::arrowDown); // the slash key is a Zhuyin final: offered as "/" and its Chinese reading
    auto view = engine.sheetView();
    ASSERT_TRUE(view);
    EXPECT_EQ(values(*view), (std::vector<std::string>{"/", "ㄥ"}));
    press(Kind::arrowUp);
    EXPECT_EQ(engine.sheetView()->highlightedInPage, 1);
    press(Kind::tab); // the Chinese choice is highlighted: Tab takes the first English form
    EXPECT_EQ(text(), "你/");
    EXPECT_TRUE(engine.isInLiteralRun());
    type("{esc}a{down}");
    EXPECT_EQ(values(*engine.sheetView()), (std::vector<std::string>{"a", "A", "ㄇ"}));
    EXPECT_EQ(type("7"), handledOutput); // beyond the list: closes, then typed (ㄇ˙ has no word)
    EXPECT_FALSE(engine.sheetView());
    EXPECT_EQ(text(), "你/ㄇ˙");
}
