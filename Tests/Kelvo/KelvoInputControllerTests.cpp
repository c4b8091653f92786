#include "ControllerTestSupport.hpp"

using namespace kelvo;
using namespace kelvo::testing;

// Characters become the engine's keys by what Shift and repeating make of them; keypad digits and
// what no key of the layout types stay the application's.
TEST(KelvoInputControllerKeys, CharactersBecomeEngineKeys) {
    using Kind = KeyInput::Kind;
    EXPECT_EQ(KelvoInputController::keyInput(key("A")), KeyInput::typed("a"));
    EXPECT_EQ(KelvoInputController::keyInput(key("A", 0, modifier::shift)), KeyInput::english("A"));
    EXPECT_EQ(KelvoInputController::keyInput(key("1", 0, modifier::shift)), KeyInput::typed("1"));
    EXPECT_EQ(KelvoInputController::keyInput(key("a", 0, 0, true)), KeyInput::repeated("a"));
    EXPECT_EQ(KelvoInputController::keyInput(key(" ")), KeyInput::of(Kind::space));
    EXPECT_EQ(KelvoInputController::keyInput(key("\r")), std::nullopt);
    EXPECT_EQ(KelvoInputController::keyInput(key("ab")), std::nullopt);
    EXPECT_EQ(KelvoInputController::keyInput(key("é")), std::nullopt);
    for (std::uint16_t keypad : {82, 83, 92, 65, 69, 78, 67, 75, 81})
        EXPECT_EQ(KelvoInputController::keyInput(key("1", keypad)), std::nullopt) << keypad;
}

TEST_F(ControllerTest, SettingsAreReadBeforeEveryKey) {
    defaults.set("punctuationMode", std::string("english"));
    typeKeys("su3");
    EXPECT_FALSE(controller.handle(key("<"))); // english punctuation: commits and passes the key on
    EXPECT_EQ(client.inserted, "你");
    // A change between two keys of one composition reaches the next key.
    controller.handle(key("s"));
    defaults.set("punctuationMode", std::string("chinese"));
    typeKeys("u3");
    EXPECT_TRUE(controller.handle(key("<")));
}

TEST_F(ControllerTest, TheCandidateListFollowsTheEngineAndTakesClicks) {
    typeKeys("su3cl3");
    EXPECT_TRUE(client.candidates.items.empty());
    press(KeyCode::downArrow); // Down
    ASSERT_FALSE(client.candidates.items.empty());
    EXPECT_EQ(client.candidates.items[0].label, "1");
    EXPECT_EQ(client.candidates.items[0].value, "你好");
    EXPECT_EQ(client.candidates.highlighted, 0);
    controller.candidateClicked(1);
    EXPECT_TRUE(client.candidates.items.empty());
    EXPECT_EQ(client.marked, "妳好"); // the second candidate replaced the word
}

TEST_F(ControllerTest, TheMenuOffersSettingsAndTheGuide) {
    std::vector<std::string> opened;
    shared.showSettings = [&] { opened.push_back("settings"); };
    shared.openWindow = [&](const std::string& command) { opened.push_back(command); };
    controller.activate();
    EXPECT_EQ(client.menu, (std::vector<std::pair<std::string, std::string>>{{"settings", "設定"},
                                                                             {"guide", "使用說明"}}));
    typeKeys("su");
    controller.menuItemChosen("settings"); // commits first
    EXPECT_EQ(client.inserted, "ㄋㄧ");
    controller.menuItemChosen("guide");
    EXPECT_EQ(opened, (std::vector<std::string>{"settings", "guide"}));
}

TEST_F(ControllerTest, FeedbackIsShownWhenAskedFor) {
    controller.handle(key("s"));
    EXPECT_EQ(client.candidates.note, "");
    defaults.set("feedbackMode", std::string("both"));
    controller.handle(key("u"));
    EXPECT_EQ(client.candidates.note, "ㄋㄧ  su");
    EXPECT_TRUE(client.candidates.items.empty());
}

TEST_F(ControllerTest, ACommandShortcutCommitsFirstAndPassesOn) {
    typeKeys("su3");
    EXPECT_FALSE(controller.handle(key("c", 0, modifier::command))); // Command+C
    EXPECT_EQ(client.inserted, "你");
    EXPECT_EQ(client.marked, "");
}

TEST_F(ControllerTest, AfterACommitAnEmptyPreeditSendsNothing) {
    typeKeys("su3");
    int calls = client.markedTextCalls;
    press(KeyCode::returnKey); // Return commits
    EXPECT_EQ(client.inserted, "你");
    EXPECT_EQ(client.markedTextCalls, calls); // the commit replaced the marked text
    controller.handle(key("s"));
    controller.handle(
        key("", code(KeyCode::escape))); // Escape clears the syllable: the marked text is cleared once
    EXPECT_EQ(client.marked, "");
    EXPECT_EQ(client.markedTextCalls, calls + 2);
}

TEST_F(ControllerTest, ARightClickOnTheCompositionOpensItsCandidates) {
    KeyEvent click{KeyEvent::Type::rightMouseDown, 0, "", 0, false, 0};
    EXPECT_FALSE(controller.handle(click)); // idle: the click is the application's
    typeKeys("su3");
    EXPECT_TRUE(controller.handle(click));
    EXPECT_FALSE(client.candidates.items.empty());
}

TEST_F(ControllerTest, FloatingPanelsShowTheListUnderTheCaretAndTakeClicks) {
    RecordingPanels panels;
    shared.panels = &panels;
    typeKeys("su3cl3");
    EXPECT_FALSE(panels.candidates.visible);
    EXPECT_FALSE(panels.composition.visible); // "feedbackMode" is off
    press(KeyCode::downArrow);
    ASSERT_TRUE(panels.candidates.visible);
    EXPECT_EQ(panels.candidates.caret, client.caretLine);
    EXPECT_TRUE(client.candidates.items.empty()); // the client's own list stays unused
    client.caretLine = {300, 200, 2, 18};         // reported after the change that moved it
    controller.clientLineMoved();
    EXPECT_EQ(panels.candidates.caret, client.caretLine);
    ASSERT_GE(panels.sheet->items.size(), 2u);
    const std::string second = panels.sheet->items[1].value;
    panels.select(panels.sheet->items[1].index);
    EXPECT_EQ(client.marked.substr(client.marked.size() - second.size()), second);
    EXPECT_FALSE(panels.candidates.visible); // choosing closes the list

    press(KeyCode::downArrow);
    panels.expand(true);
    EXPECT_TRUE(panels.sheet->expanded);
    press(KeyCode::returnKey);
    press(KeyCode::returnKey);
    EXPECT_FALSE(panels.candidates.visible);
}

TEST_F(ControllerTest, CompositionPanelFollowsTheFeedbackModeAndGivesWayToTheList) {
    RecordingPanels panels;
    shared.panels = &panels;
    defaults.set("feedbackMode", std::string("zhuyin"));
    typeKeys("su3cl3");
    ASSERT_TRUE(panels.composition.visible);
    EXPECT_EQ(panels.feedback->zhuyin, "ㄋㄧˇ ㄏㄠˇ");
    EXPECT_EQ(panels.mode, "zhuyin");
    press(KeyCode::downArrow);
    EXPECT_FALSE(panels.composition.visible);
    EXPECT_TRUE(panels.candidates.visible);
    press(KeyCode::escape);
    EXPECT_TRUE(panels.composition.visible);
    defaults.set("feedbackMode", std::string("off"));
    press(KeyCode::leftArrow);
    EXPECT_FALSE(panels.composition.visible);
}

TEST_F(ControllerTest, ALateDeactivationLeavesAnotherControllersPanels) {
    RecordingPanels panels;
    shared.panels = &panels;
    defaults.set("feedbackMode", std::string("raw"));
    RecordingClient otherClient;
    auto other = std::make_unique<KelvoInputController>(otherClient, shared);
    typeKeys("su3");
    for (const char* k : {"s", "u", "3"})
        other->handle(key(k));
    other->handle(key("", code(KeyCode::downArrow))); // the other client now has the candidate panel
    controller.deactivate();                          // this client lost focus: the list is not its to hide
    EXPECT_TRUE(panels.candidates.visible);
    EXPECT_EQ(client.inserted, "你");
    auto select = panels.select;
    other.reset();
    select(0); // a click arriving after its controller is gone changes nothing
    EXPECT_TRUE(panels.candidates.visible);
}
