#include "EngineTestSupport.hpp"

using namespace kelvo;
using namespace kelvo::testing;

namespace {

// The marked text as the client gets it: raw pieces in ‹›, the active one in «», converted ones
// plain; then the caret and the active range, in UTF-16 units.
std::string markedTextOf(const InputEngine::Preedit& preedit) {
    std::string shown;
    for (const auto& piece : preedit.pieces)
        shown += piece.style == Style::raw      ? "‹" + piece.text + "›"
                 : piece.style == Style::active ? "«" + piece.text + "»"
                                                : piece.text;
    shown += " ^" + std::to_string(preedit.caretUTF16);
    if (const auto range = preedit.activeRangeUTF16)
        shown += " @" + std::to_string(range->start) + "+" + std::to_string(range->length);
    return shown;
}

} // namespace

TEST_F(EngineTest, TheMarkedTextShowsPiecesCaretAndActiveWord) {
    const std::pair<const char*, const char*> cases[] = {
        {"su", "‹ㄋㄧ› ^2"}, // a partial syllable is raw
        {"su3cl3", "«你好» ^2 @1+1"},
        {"su3cl3w8 ", "你好«他» ^3 @2+1"},
        {"su3cl3{left}{left}a8", "‹ㄇㄚ›«你好» ^2"}, // a syllable is being typed: nothing is active
        {"su3<", "你， ^2"},                         // a literal is never active, so the pieces merge
        {"w8 a8 ", "«他們的字» ^4"},                 // the element at the cursor shows nothing
        {"w8 a8 {left}", "«他們的字» ^4 @0+4"},      // a word shorter than its span shows on its first
        {"ej/ ej/ su3", "𠀀𠀀«你» ^5 @4+1"},         // offsets count UTF-16 units beyond the BMP
        {"ej/ ej/ su3{left}", "𠀀«𠀀»你 ^4 @2+2"},
        {"ej/ ej/ su3{left}su", "𠀀«𠀀»‹ㄋㄧ›你 ^6"},
    };
    for (const auto& [script, expected] : cases) {
        type(script);
        EXPECT_EQ(markedTextOf(engine.preedit()), expected) << script;
        engine.flush();
    }
}

TEST_F(EngineTest, FeedbackShowsTheTextTheReadingsAndTheKeys) {
    type("su");
    EXPECT_EQ(engine.feedback(), (InputEngine::Feedback{"ㄋㄧ", "ㄋㄧ", "su"}));
    type("3cl3w8 ");
    EXPECT_EQ(engine.feedback(), (InputEngine::Feedback{"你好他", "ㄋㄧˇ ㄏㄠˇ ㄊㄚ", "su3 cl3 w8␣"}));
    type("{left}{left}{left}a8");
    EXPECT_EQ(engine.feedback(),
              (InputEngine::Feedback{"ㄇㄚ你好他", "ㄇㄚ ㄋㄧˇ ㄏㄠˇ ㄊㄚ", "a8 su3 cl3 w8␣"}));
    EXPECT_EQ(engine.flush(), "ㄇㄚ你好他"); // the partial syllable commits as shown, at the cursor
}
