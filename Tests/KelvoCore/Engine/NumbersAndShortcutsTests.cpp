#include "EngineTestSupport.hpp"

using namespace kelvo;
using namespace kelvo::testing;

TEST_F(EngineTest, DigitsThatOverwriteSyllablesBecomeANumber) {
    type("2025");
    EXPECT_EQ(engine.preedit().pieces, (std::vector<Piece>{{"2025", Style::converted}}));
    EXPECT_EQ(engine.numberHint(), "2025");
    EXPECT_EQ(engine.feedback()->rawKeys, "2025");
    engine.flush();
    expectSeen({
        {"2025 ", "[2025 |]"},
        {"2025 {enter}", "2025 []"},
        {"2025{bs}", "[202|]"}, // retyped without its last key
        {"2025<", "[2025<|]"},  // taken, then the key itself as typed
        {"2025{tab}", "[2025|]"},
        {"12mah{bs}", "[12ma|]"}, // digits and letters of a unit retyped
        {"18 ", "[一|]"},         // ㄅㄚ: a real reading, no unit, overwrite or literal digit
    });
}

TEST_F(EngineTest, TextShortcutsExpandOnTabAndOtherKeysReleaseThem) {
    auto store = std::make_shared<CustomTextStore>();
    ASSERT_FALSE(store->set("addr", "台北市信義路五段7號"));
    configure(engine, [&](EngineSettings& s) {
        s.customText = true;
        s.customTexts = store;
    });
    type(";;addr");
    EXPECT_EQ(engine.preedit().pieces, (std::vector<Piece>{{";;addr", Style::raw}}));
    engine.flush();
    expectSeen({
        {";;addr{tab}", "[台北市信義路五段7號|]"},
        {";;addr{esc}", "[]"},
        {";;addr ", "[;;addr |]"},
        {";;nope{tab}", "[;;nope|]"}, // no expansion: the buffer stays
        {";;{bs}{enter}", ";[]"},
        {";;ab=", ";;ab=[]"}, // released as literals, committed, and the key reaches the field
        {";;ab{left}", "[;;a|b]"},
    });
    type(";;ab");
    configure(engine, [&](EngineSettings& s) { s.customText = false; });
    EXPECT_EQ(seenAfter(engine, "x"), "[;;abㄌ|]");
}

TEST_F(EngineTest, AShortcutStartedOverAnOpenListClosesTheList) {
    configure(engine, [&](EngineSettings& s) { s.customText = true; });
    type(";");
    type("{down}"); // the bilingual list of ";"
    ASSERT_TRUE(std::holds_alternative<BilingualSheet>(engine.state()));
    type(";");
    EXPECT_TRUE(std::holds_alternative<ShortcutBuffer>(engine.state()));
    EXPECT_FALSE(engine.sheetView());
    type("1");
    EXPECT_EQ(text(), ";;1");
}
