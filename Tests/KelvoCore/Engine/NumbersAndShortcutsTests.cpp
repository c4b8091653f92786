#include "EngineTestSupport.hpp"

using namespace kelvo;
using namespace kelvo::testing;

TEST_F(EngineTest, DigitsThatOverwriteSyllablesBecomeANumber) {
    type("2025");
    auto preedit = engine.preedit();
    EXPECT_EQ(preedit.pieces, (std::vector<Piece>{{"2025", Style::converted}}));
    EXPECT_EQ(preedit.caretUTF16, 4);
    EXPECT_EQ(engine.numberHint(), "2025");
    EXPECT_EQ(engine.feedback()->rawKeys, "2025");
    EXPECT_EQ(press(Kind::space), handledOutput);
    EXPECT_EQ(text(), "2025 ");
    EXPECT_EQ(engine.flush(), "2025 ");
}

TEST_F(EngineTest, BackspaceRetypesANumberWithoutItsLastKey) {
    type("2025");
    EXPECT_EQ(press(Kind::backspace), handledOutput);
    EXPECT_EQ(engine.numberHint(), "202");
    EXPECT_EQ(text(), "202");
}

TEST_F(EngineTest, NumberIsAcceptedByPunctuationTabAndCommit) {
    type("2025<"); // the number is taken, then the key itself as typed
    EXPECT_EQ(text(), "2025<");
    type("{esc}2025");
    EXPECT_EQ(press(Kind::tab), handledOutput);
    EXPECT_EQ(text(), "2025");
    type("{esc}2025");
    EXPECT_EQ(engine.flush(), "2025");
}

TEST_F(EngineTest, DigitsThatSpellKnownSyllablesStayChinese) {
    type("18 "); // ㄅㄚ: a real reading, no unit, overwrite or literal digit
    EXPECT_FALSE(engine.preedit().pieces.empty());
    EXPECT_EQ(text(), "一");
}

TEST_F(EngineTest, TextShortcutExpandsOnTab) {
    auto store = std::make_shared<CustomTextStore>();
    ASSERT_FALSE(store->set("addr", "台北市信義路五段7號"));
    configure(engine, [&](EngineSettings& s) { s.customText = true; });
    configure(engine, [&](EngineSettings& s) { s.customTexts = store; });
    type(";;addr");
    EXPECT_FALSE(engine.isIdle());
    EXPECT_EQ(engine.preedit().pieces, (std::vector<Piece>{{";;addr", Style::raw}}));
    EXPECT_EQ(press(Kind::tab), handledOutput);
    EXPECT_EQ(text(), "台北市信義路五段7號");
    EXPECT_EQ(engine.flush(), "台北市信義路五段7號");

    type(";;addr");
    EXPECT_EQ(press(Kind::escape), handledOutput);
    EXPECT_TRUE(engine.isIdle());
    type(";;addr ");
    EXPECT_EQ(text(), ";;addr ");
    engine.flush();
    type(";;nope");
    EXPECT_EQ(press(Kind::tab), handledOutput); // no expansion: the buffer stays
    EXPECT_EQ(text(), ";;nope");
    engine.flush();
    type(";;{bs}");
    EXPECT_EQ(text(), ";");
    EXPECT_EQ(press(Kind::enter), (InputEngine::Output{true, ";"}));
}

TEST_F(EngineTest, ShortcutBufferIsReleasedByOtherKeys) {
    configure(engine, [&](EngineSettings& s) { s.customText = true; });
    type(";;ab");
    // Released as literals, then "=" commits them and reaches the client.
    EXPECT_EQ(type("="), (InputEngine::Output{false, ";;ab"}));
    EXPECT_TRUE(engine.isIdle());
    type(";;ab");
    EXPECT_EQ(press(Kind::arrowLeft), handledOutput);
    EXPECT_EQ(text(), ";;ab");
    EXPECT_EQ(engine.preedit().caretUTF16, 3);
    engine.flush();
    type(";;ab");
    configure(engine, [&](EngineSettings& s) { s.customText = false; });
    type("x");
    EXPECT_EQ(text(), ";;abㄌ");
}

TEST_F(EngineTest, AShortcutStartedOverAnOpenListClosesTheList) {
    configure(engine, [&](EngineSettings& s) { s.customText = true; });
    type(";");
    press(Kind::arrowDown); // the bilingual list of ";"
    ASSERT_TRUE(std::holds_alternative<BilingualSheet>(engine.state()));
    type(";");
    EXPECT_TRUE(std::holds_alternative<ShortcutBuffer>(engine.state()));
    EXPECT_FALSE(engine.sheetView());
    type("1");
    EXPECT_EQ(text(), ";;1");
}

TEST_F(EngineTest, BackspaceOnANumberWithAUnitRetypesItsDigitsAndLetters) {
    type("12mah{bs}");
    EXPECT_FALSE(engine.invariantViolation());
    EXPECT_EQ(text(), "12ma");
}
