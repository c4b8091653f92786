#include "EngineTestSupport.hpp"

using namespace kelvo;
using namespace kelvo::testing;

TEST_F(EngineTest, NewEngineIsIdleAndPassesKeysOn) {
    EXPECT_TRUE(engine.isIdle());
    EXPECT_FALSE(engine.feedback() || engine.sheetView() || engine.englishHintView());
    EXPECT_FALSE(engine.selectCandidate(0));
    EXPECT_FALSE(engine.flush());
    const std::string keys = "{left}{right}{up}{down}{pgup}{pgdn} {enter}{esc}{tab}{bs}=";
    EXPECT_EQ(seenAfter(engine, keys), std::string(keys).append("[]"));
}

TEST_F(EngineTest, KeysEditTheCompositionAsTheyShouldOnScreen) {
    expectSeen({
        // Enter commits; a key the engine has no use for commits and still reaches the field.
        {"su3cl3", "[你好|]"},
        {"su3cl3{enter}", "你好[]"},
        {"su3=", "你=[]"},
        // A key that cannot continue a partial syllable is never lost.
        {"su=", "ㄋㄧ=[]"},
        {"suA", "[ㄋㄧA|]+"},   // a Shift letter starts a literal run after them
        {"su3c!", "[你ㄏ！|]"}, // a mapped mark follows the syllable it settles
        // Dots after the final key are literals.
        {"su3.", "[你ㄡ|]"},
        {"su3..", "[你..|]"},
        {"su3...", "[你...|]"},
        // A scheme and its colon start a literal run, which Escape ends.
        {"http://a.b ", "[http://a.b |]+"},
        {"http://a.b {esc}su3", "[http://a.b 你|]"},
        // Space is a literal only inside a composition.
        {" ", " []"},
        {"su3 ", "[你 |]"},
        // Backspace edits the syllable, then the elements, then passes on.
        {"su3cl{bs}", "[你ㄏ|]"},
        {"su3cl{bs}{bs}", "[你|]"},
        {"su3cl{bs}{bs}{bs}{bs}", "{bs}[]"},
        {"su3cl3{left}{left}{bs}", "[|你好]"}, // nothing before the cursor
        {"su3Ab{bs}", "[你A|]+"},
        {"su3Ab{bs}{bs}", "[你|]"}, // no literal left before the cursor: the run ends
        // Escape unwinds one level at a time.
        {"su3A8{esc}", "[你A8|]"},
        {"su3A8{esc}cl{esc}", "[你A8|]"},
        {"su3A8{esc}cl{esc}{esc}{esc}", "{esc}[]"},
        // The cursor moves between whole syllables; a partial one holds it.
        {"su3cl3{left}a8{right}", "[你ㄇㄚ|好]"},
        {"su3cl3{left}a8 ", "[你媽|好]"},
        {"su3cl3{left}a8 {right}{right}{up}{pgup}{pgdn}{tab}", "[你媽好|]"},
        // Inserting inside a pinned word drops the pin.
        {"w8 a8 {down}{enter}{left}su3", "[他你|媽]"},
        // An auto-repeated letter is a literal and starts a run; a repeated digit is not.
        {"a{hold:a}{hold:a}{hold:a}b", "[ab|]+"},
        {"1{hold:1}", "[1|]"},
    });
}

TEST_F(EngineTest, ShiftedPunctuationEntersAsLiteralsByMode) {
    expectSeen({{"su3<", "[你，|]"}, {"!", "[！|]"}});
    configure(engine, [&](EngineSettings& s) { s.formatting.punctuationMode = PunctuationMode::english; });
    expectSeen({{"su3<?", "你<?[]"}, {"su3!", "你![]"}});
}
