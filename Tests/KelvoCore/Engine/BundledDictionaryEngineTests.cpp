#include "Engine/KeyScript.hpp"
#include "EngineTestSupport.hpp"

using namespace kelvo;
using namespace kelvo::testing;

namespace {
std::shared_ptr<const Lexicon> bundledLexicon() {
    static const auto lexicon = Lexicon::contentsOf(KELVO_RESOURCES_DIR "/data/data.txt");
    return lexicon;
}
} // namespace

TEST(BundledEngine, ASentenceDecodesAndOffersCandidatesAtTheCursor) {
    InputEngine engine(bundledLexicon());
    for (char key : std::string("w96j0 2k7wu0 fu4")) // 台灣的天氣
        engine.handle(key == ' ' ? KeyInput::of(Kind::space) : KeyInput::typed(std::string(1, key)));
    EXPECT_EQ(engine.preedit().text(), "台灣的天氣");
    engine.handle(KeyInput::of(Kind::arrowDown));
    auto view = engine.sheetView();
    ASSERT_TRUE(view);
    EXPECT_EQ(view->items[view->highlightedInPage].value, "天氣");
    EXPECT_EQ(view->anchorUTF16, 3);
}

TEST(BundledEngine, DigitsStayDigitsBeforeSeparatorsThatCannotSpellTheSyllable) {
    // ";" and "/" are finals too: they go on spelling Chinese only into an empty slot.
    const std::pair<const char*, const char*> typed[] = {
        {"10/20", "10/20"},
        {"2025/10/20", "2025/10/20"},
        {"10;", "10;"},
        {"54g;4", "至上"},
        {"su3{left}12", "12你"}, // a number can be typed anywhere in the composition
        {"su3cl3{left}{left}2025", "2025你好"},
    };
    for (const auto& [script, expected] : typed) {
        InputEngine engine(bundledLexicon());
        const auto keys = std::get<std::vector<KeyInput>>(parseKeyScript(script));
        for (const KeyInput& key : keys) {
            engine.handle(key);
            ASSERT_FALSE(engine.invariantViolation()) << script;
        }
        EXPECT_EQ(engine.flush().value_or(""), expected) << script;
    }
}
