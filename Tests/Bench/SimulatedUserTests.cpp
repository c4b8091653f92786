#include "../KelvoCore/Engine/EngineTestSupport.hpp"
#include "SimulatedUser.hpp"

using namespace kelvo;
using namespace kelvo::testing;
using kelvo::bench::ClauseResult;
using kelvo::bench::SimulatedUser;

namespace {

struct Expected {
    const char* text;
    const char* keys;
    bool rightAsTyped;
    int corrections;
    int keysPressed; // typing, corrections and Enter
    bool failed;
};

} // namespace

// Cases counted by hand on the small lexicon (9 candidates a page).
TEST_F(EngineTest, TheSimulatedUserCorrectsWithTheFewestKeys) {
    const Expected cases[] = {
        {"你好", "su3cl3", true, 0, 7, false},
        // 他 comes first: the list at the end offers 她 second on its first page: Down, 2.
        {"她", "w8 ", false, 1, 3 + 2 + 1, false},
        // The last of 20 candidates: Down, two pages on, its digit.
        {"癸", "18 ", false, 1, 3 + 4 + 1, false},
        // The wrong character is one back: Left, Down, 2.
        {"她好", "w8 cl3", false, 1, 6 + 3 + 1, false},
        // No candidate of ㄇㄚ is 他.
        {"他", "a8 ", false, 0, 3 + 1, true},
    };
    for (const Expected& expected : cases) {
        SimulatedUser user(engine);
        const ClauseResult result = user.type({expected.text, expected.keys});
        EXPECT_EQ(result.rightAsTyped, expected.rightAsTyped) << expected.text;
        EXPECT_EQ(result.corrections, expected.corrections) << expected.text;
        EXPECT_EQ(result.keys, expected.keysPressed) << expected.text;
        EXPECT_EQ(result.floorKeys, static_cast<int>(std::string(expected.keys).size()) + 1) << expected.text;
        EXPECT_EQ(result.failed, expected.failed) << expected.text;
        EXPECT_EQ(result.committed, expected.failed ? "媽" : expected.text);
        EXPECT_TRUE(engine.isIdle());
    }
}

// Looking into the lists changes neither the engine nor what it learned; choosing is learned, so
// the clause comes out right the second time.
TEST_F(EngineTest, TheSimulatedUsersLookingChangesNothingAndItsChoicesAreLearned) {
    auto store = std::make_shared<UserPhraseStore>();
    engine.setUserPhrases(store);
    SimulatedUser user(engine);
    type("w8 cl3");
    const auto shown = engine.preedit();
    const auto fix = user.correction(bench::comparableCharacters("她好"), {});
    ASSERT_TRUE(fix);
    EXPECT_EQ(engine.preedit(), shown);
    EXPECT_FALSE(engine.sheetView());
    EXPECT_EQ(store->version(), 0u);
    engine.handle(KeyInput::of(Kind::escape)); // abandoned: nothing committed, nothing learned

    EXPECT_FALSE(user.type({"她好", "w8 cl3"}).rightAsTyped);
    EXPECT_TRUE(user.type({"她好", "w8 cl3"}).rightAsTyped);
}
