#include "EngineTestSupport.hpp"

using namespace kelvo;
using namespace kelvo::testing;

namespace {
std::shared_ptr<const Lexicon> bundledLexicon() {
    static const auto lexicon = Lexicon::contentsOf(KELVO_RESOURCES_DIR "/data/data.txt");
    return lexicon;
}
} // namespace

TEST(BundledEngine, NiHaoAndEnterCommitsTheGreeting) {
    InputEngine engine(bundledLexicon());
    for (char key : std::string("su3cl3"))
        engine.handle(KeyInput::typed(std::string(1, key)));
    EXPECT_EQ(engine.preedit().text(), "你好");
    EXPECT_EQ(engine.handle(KeyInput::of(Kind::enter)), (InputEngine::Output{true, "你好"}));
    EXPECT_TRUE(engine.isIdle());
}

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
