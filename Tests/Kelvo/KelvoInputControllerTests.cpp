#include "../Support/TemporaryFolder.hpp"
#include "KelvoInputController.hpp"
#include "KeyCodes.hpp"
#include "LexiconStore.hpp"
#include "Panels/PanelOwnership.hpp"
#include "SettingKey.hpp"

#include <gtest/gtest.h>

using namespace kelvo;
using platform::code;
using platform::KeyCode;
using platform::KeyEvent;
namespace modifier = platform::modifier;

namespace {

// A text field with a caret at its end: what is inserted is appended, marked text shown apart.
class RecordingClient : public platform::InputClient {
public:
    std::string inserted;
    std::string marked;
    int markedTextCalls = 0;
    bool knowsCaret = true;
    void insertText(const std::string& text) override {
        inserted += text;
        marked.clear(); // inserted text replaces the marked text, as in a real text field
    }
    void setMarkedText(const platform::MarkedText& text,
                       std::optional<platform::TextRange> replacing) override {
        ++markedTextCalls;
        if (replacing)
            inserted.erase(static_cast<std::size_t>(replacing->location),
                           static_cast<std::size_t>(replacing->length));
        marked.clear();
        for (const auto& piece : text.pieces)
            marked += piece.text;
    }
    std::optional<platform::TextRange> selectedRange() override {
        if (!knowsCaret) return std::nullopt;
        return platform::TextRange{static_cast<int>(inserted.size()), 0}; // ASCII in these tests
    }
    platform::CandidateList candidates;
    std::vector<std::pair<std::string, std::string>> menu;
    void showCandidates(const platform::CandidateList& list) override { candidates = list; }
    void setMenu(const std::vector<std::pair<std::string, std::string>>& items) override { menu = items; }
    std::string applicationIdentifier() override { return "unknown"; }
    platform::Rect caretLine{100, 500, 2, 18};
    platform::Rect lineRectangle(int) override { return caretLine; }
    std::optional<std::string> text(platform::TextRange range) override {
        return inserted.substr(static_cast<std::size_t>(range.location),
                               static_cast<std::size_t>(range.length));
    }
};

// What the floating panels would show, under the same owner rule as the real ones.
class RecordingPanels : public panels::Panels {
public:
    struct Shown {
        panels::PanelOwnership ownership;
        bool visible = false;
        platform::Rect caret;
    };
    Shown candidates, composition;
    std::optional<InputEngine::SheetView> sheet;
    std::optional<InputEngine::Feedback> feedback;
    std::string mode;
    std::function<void(int)> select;
    std::function<void(bool)> expand;

    void presentCandidates(const InputEngine::SheetView& shown, const platform::Rect& caret, int,
                           const void* owner, std::function<void(int)> onSelect,
                           std::function<void(bool)> onExpand) override {
        present(candidates, caret, owner);
        sheet = shown;
        select = std::move(onSelect);
        expand = std::move(onExpand);
    }
    void hideCandidates(const void* owner) override { hide(candidates, owner); }
    void presentComposition(const InputEngine::Feedback& shown, const std::string& shownMode,
                            const platform::Rect& caret, int, const void* owner) override {
        present(composition, caret, owner);
        feedback = shown;
        mode = shownMode;
    }
    void hideComposition(const void* owner) override { hide(composition, owner); }

private:
    static void present(Shown& panel, const platform::Rect& caret, const void* owner) {
        panel.ownership.claim(owner);
        panel.visible = true;
        panel.caret = caret;
    }
    static void hide(Shown& panel, const void* owner) {
        if (panel.ownership.release(owner)) panel.visible = false;
    }
};

class NullLogger : public platform::Logger {
public:
    void log(Level, std::string_view) override {}
};

KeyEvent key(std::string characters, std::uint16_t keyCode = 0, std::uint32_t flags = 0,
             bool repeat = false) {
    return KeyEvent{KeyEvent::Type::keyDown, keyCode, std::move(characters), flags, repeat, 0};
}

class ControllerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static kelvo::testing::TemporaryFolder folder;
        folder.write("Kelvo.app/Contents/Info.plist",
                     "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>CFBundleIdentifier</key>"
                     "<string>org.kelvo.inputmethod.Kelvo</string></dict></plist>");
        std::filesystem::create_directories(folder / "Kelvo.app/Contents/Resources/data");
        std::filesystem::copy_file(KELVO_RESOURCES_DIR "/data/data.txt",
                                   folder / "Kelvo.app/Contents/Resources/data/data.txt");
        NullLogger log;
        LexiconStore::resetForTesting();
        LexiconStore::bootstrap(platform::Bundle::at(folder / "Kelvo.app"), log);
    }
    static void TearDownTestSuite() { LexiconStore::resetForTesting(); }

    platform::MemoryDefaults defaults;
    NullLogger log;
    KelvoInputController::Shared shared{defaults, nullptr, std::make_shared<CustomTextStore>(), log};
    RecordingClient client;
    KelvoInputController controller{client, shared};

    void SetUp() override { registerDefaults(defaults); }
};

} // namespace

TEST(KelvoInputControllerKeys, KeyCodesAndCharactersBecomeEngineKeys) {
    using Kind = KeyInput::Kind;
    const std::pair<std::uint16_t, Kind> table[] = {
        {36, Kind::enter},      {76, Kind::enter},       {48, Kind::tab},        {49, Kind::space},
        {51, Kind::backspace},  {53, Kind::escape},      {116, Kind::pageUp},    {121, Kind::pageDown},
        {123, Kind::arrowLeft}, {124, Kind::arrowRight}, {125, Kind::arrowDown}, {126, Kind::arrowUp}};
    for (auto [code, kind] : table)
        EXPECT_EQ(KelvoInputController::keyInput(key("", code)), KeyInput::of(kind)) << code;
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

TEST_F(ControllerTest, TypesAndCommitsThroughTheClient) {
    for (const char* k : {"s", "u", "3", "c", "l", "3"})
        EXPECT_TRUE(controller.handle(key(k)));
    EXPECT_EQ(client.marked, "你好");
    EXPECT_TRUE(controller.handle(key("", code(KeyCode::returnKey))));
    EXPECT_EQ(client.inserted, "你好");
    EXPECT_EQ(client.marked, "");
    EXPECT_FALSE(
        controller.handle(key("", code(KeyCode::returnKey)))); // idle: Return reaches the application
}

TEST_F(ControllerTest, CommandKeysAndModifierChangesPassThrough) {
    EXPECT_FALSE(controller.handle(key("c", 0, modifier::control)));
    EXPECT_FALSE(controller.handle(
        KeyEvent{KeyEvent::Type::flagsChanged, code(KeyCode::leftShift), "", modifier::shift, false, 0}));
    EXPECT_EQ(client.marked, "");
}

TEST_F(ControllerTest, SettingsAreReadBeforeEveryKey) {
    defaults.set("punctuationMode", std::string("english"));
    controller.handle(key("s"));
    controller.handle(key("u"));
    controller.handle(key("3"));
    EXPECT_FALSE(controller.handle(key("<"))); // english punctuation: commits and passes the key on
    EXPECT_EQ(client.inserted, "你");
    // A change between two keys of one composition reaches the next key.
    controller.handle(key("s"));
    defaults.set("punctuationMode", std::string("chinese"));
    controller.handle(key("u"));
    controller.handle(key("3"));
    EXPECT_TRUE(controller.handle(key("<")));
}

TEST_F(ControllerTest, DeactivationCommitsTheComposition) {
    controller.handle(key("s"));
    controller.handle(key("u"));
    controller.deactivate();
    EXPECT_EQ(client.inserted, "ㄋㄧ");
    EXPECT_EQ(client.marked, "");
}

namespace {
KeyEvent flags(std::uint16_t keyCode, std::uint32_t modifiers, double at) {
    return KeyEvent{KeyEvent::Type::flagsChanged, keyCode, "", modifiers, false, at};
}
} // namespace

TEST_F(ControllerTest, ALoneShiftTapSwitchesToEnglishCommittingTheComposition) {
    controller.handle(key("s"));
    controller.handle(key("u"));
    controller.handle(key("3"));
    controller.handle(flags(code(KeyCode::leftShift), modifier::shift, 1.0));
    controller.handle(flags(code(KeyCode::leftShift), 0, 1.1));
    EXPECT_FALSE(shared.mode.chineseMode);
    EXPECT_EQ(client.inserted, "你");
    EXPECT_FALSE(controller.handle(key("s"))); // English mode: keys reach the application
    controller.handle(flags(code(KeyCode::rightShift), modifier::shift, 2.0));
    controller.handle(flags(code(KeyCode::rightShift), 0, 2.1));
    EXPECT_TRUE(shared.mode.chineseMode);
    EXPECT_TRUE(controller.handle(key("s")));
}

TEST_F(ControllerTest, ShiftUsedWithALetterOrSwitchedOffDoesNotToggle) {
    controller.handle(flags(code(KeyCode::leftShift), modifier::shift, 1.0));
    controller.handle(key("A", 0, modifier::shift));
    controller.handle(flags(code(KeyCode::leftShift), 0, 1.1));
    EXPECT_TRUE(shared.mode.chineseMode);
    defaults.set("shiftToggle", false);
    controller.handle(flags(code(KeyCode::leftShift), modifier::shift, 3.0));
    controller.handle(flags(code(KeyCode::leftShift), 0, 3.1));
    EXPECT_TRUE(shared.mode.chineseMode);
}

TEST_F(ControllerTest, AShiftTapInALiteralRunOnlyEndsTheRun) {
    controller.handle(key("s"));
    controller.handle(key("u"));
    controller.handle(key("3"));
    controller.handle(key("A", 0, modifier::shift)); // an English literal starts a literal run
    controller.handle(flags(code(KeyCode::leftShift), modifier::shift, 5.0));
    controller.handle(flags(code(KeyCode::leftShift), 0, 5.1));
    EXPECT_TRUE(shared.mode.chineseMode);
    EXPECT_EQ(client.inserted, "");
}

TEST_F(ControllerTest, CapsLockTypesEnglishWithoutLeavingChinese) {
    controller.handle(key("s"));
    controller.handle(key("u"));
    controller.handle(key("3"));
    controller.handle(flags(code(KeyCode::capsLock), modifier::capsLock, 1.0)); // Caps Lock on commits
    EXPECT_EQ(client.inserted, "你");
    EXPECT_FALSE(controller.handle(key("a", 0, modifier::capsLock)));
    EXPECT_TRUE(shared.mode.chineseMode);
    controller.handle(flags(code(KeyCode::capsLock), 0, 2.0));
    EXPECT_TRUE(controller.handle(key("a")));
}

TEST_F(ControllerTest, ReverseDetectionTakesTheLettersBackWhenItCanVerifyThem) {
    defaults.set("reverseDetection", true);
    shared.mode.chineseMode = false;
    for (const char* k : {"s", "u", "3", "c", "l"}) {
        EXPECT_FALSE(controller.handle(key(k)));
        client.inserted += k; // the application types what passes through
    }
    EXPECT_TRUE(controller.handle(key("3")));
    EXPECT_TRUE(shared.mode.chineseMode);
    EXPECT_EQ(client.inserted, "");
    EXPECT_EQ(client.marked, "你好");
}

TEST_F(ControllerTest, ReverseDetectionKeepsTheLettersWhenTheCaretIsUnknown) {
    defaults.set("reverseDetection", true);
    shared.mode.chineseMode = false;
    client.knowsCaret = false;
    for (const char* k : {"s", "u", "3", "c", "l"}) {
        controller.handle(key(k));
        client.inserted += k;
    }
    EXPECT_FALSE(controller.handle(key("3")));
    EXPECT_TRUE(shared.mode.chineseMode); // the mode switches all the same
    EXPECT_EQ(client.inserted, "su3cl");
}

TEST_F(ControllerTest, TheCandidateListFollowsTheEngineAndTakesClicks) {
    for (const char* k : {"s", "u", "3", "c", "l", "3"})
        controller.handle(key(k));
    EXPECT_TRUE(client.candidates.items.empty());
    controller.handle(key("", code(KeyCode::downArrow))); // Down
    ASSERT_FALSE(client.candidates.items.empty());
    EXPECT_EQ(client.candidates.items[0].label, "1");
    EXPECT_EQ(client.candidates.items[0].value, "你好");
    EXPECT_EQ(client.candidates.highlighted, 0);
    controller.candidateClicked(1);
    EXPECT_TRUE(client.candidates.items.empty());
    EXPECT_EQ(client.marked, "妳好"); // the second candidate replaced the word
}

TEST_F(ControllerTest, AKeypadDigitCommitsTheCompositionAndReachesTheApplication) {
    controller.handle(key("s"));
    controller.handle(key("u"));
    controller.handle(key("3"));
    EXPECT_FALSE(controller.handle(key("1", code(KeyCode::keypad1))));
    EXPECT_EQ(client.inserted, "你");
    EXPECT_FALSE(controller.handle(key("1", code(KeyCode::keypad1))));
}

TEST_F(ControllerTest, TheMenuOffersSettingsAndTheGuide) {
    std::vector<std::string> opened;
    shared.showSettings = [&] { opened.push_back("settings"); };
    shared.openWindow = [&](const std::string& command) { opened.push_back(command); };
    controller.activate();
    EXPECT_EQ(client.menu, (std::vector<std::pair<std::string, std::string>>{{"settings", "設定"},
                                                                             {"guide", "使用說明"}}));
    controller.handle(key("s"));
    controller.handle(key("u"));
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
    controller.handle(key("s"));
    controller.handle(key("u"));
    controller.handle(key("3"));
    EXPECT_FALSE(controller.handle(key("c", 0, modifier::command))); // Command+C
    EXPECT_EQ(client.inserted, "你");
    EXPECT_EQ(client.marked, "");
}

TEST_F(ControllerTest, AfterACommitAnEmptyPreeditSendsNothing) {
    for (const char* k : {"s", "u", "3"})
        controller.handle(key(k));
    int calls = client.markedTextCalls;
    controller.handle(key("", code(KeyCode::returnKey))); // Return commits
    EXPECT_EQ(client.inserted, "你");
    EXPECT_EQ(client.markedTextCalls, calls); // the commit replaced the marked text
    controller.handle(key("s"));
    controller.handle(
        key("", code(KeyCode::escape))); // Escape clears the syllable: the marked text is cleared once
    EXPECT_EQ(client.marked, "");
    EXPECT_EQ(client.markedTextCalls, calls + 2);
}

TEST_F(ControllerTest, ReverseDetectionKeepsTheLettersWhenTheCaretMovedOrTheTextDiffers) {
    defaults.set("reverseDetection", true);
    shared.mode.chineseMode = false;
    for (const char* k : {"s", "u", "3", "c"}) {
        controller.handle(key(k));
        client.inserted += k;
    }
    client.inserted = "x" + client.inserted; // the user clicked elsewhere and typed before the letters
    controller.handle(key("l"));
    client.inserted += "l";
    EXPECT_FALSE(controller.handle(key("3")));
    EXPECT_TRUE(shared.mode.chineseMode);
    EXPECT_EQ(client.inserted, "xsu3cl");

    shared.mode.chineseMode = false;
    client.inserted.clear();
    for (const char* k : {"s", "u", "3", "c", "l"}) {
        controller.handle(key(k));
        client.inserted += k;
    }
    client.inserted[0] = 'x'; // the text before the caret is not what was typed
    EXPECT_FALSE(controller.handle(key("3")));
    EXPECT_TRUE(shared.mode.chineseMode);
    EXPECT_EQ(client.inserted, "xu3cl");
}

TEST_F(ControllerTest, ARightClickOnTheCompositionOpensItsCandidates) {
    KeyEvent click{KeyEvent::Type::rightMouseDown, 0, "", 0, false, 0};
    EXPECT_FALSE(controller.handle(click)); // idle: the click is the application's
    for (const char* k : {"s", "u", "3"})
        controller.handle(key(k));
    EXPECT_TRUE(controller.handle(click));
    EXPECT_FALSE(client.candidates.items.empty());
}

TEST_F(ControllerTest, FloatingPanelsShowTheListUnderTheCaretAndTakeClicks) {
    RecordingPanels panels;
    shared.panels = &panels;
    for (const char* k : {"s", "u", "3", "c", "l", "3"})
        controller.handle(key(k));
    EXPECT_FALSE(panels.candidates.visible);
    EXPECT_FALSE(panels.composition.visible); // "feedbackMode" is off
    controller.handle(key("", code(KeyCode::downArrow)));
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

    controller.handle(key("", code(KeyCode::downArrow)));
    panels.expand(true);
    EXPECT_TRUE(panels.sheet->expanded);
    controller.handle(key("", code(KeyCode::returnKey)));
    controller.handle(key("", code(KeyCode::returnKey)));
    EXPECT_FALSE(panels.candidates.visible);
}

TEST_F(ControllerTest, CompositionPanelFollowsTheFeedbackModeAndGivesWayToTheList) {
    RecordingPanels panels;
    shared.panels = &panels;
    defaults.set("feedbackMode", std::string("zhuyin"));
    for (const char* k : {"s", "u", "3", "c", "l", "3"})
        controller.handle(key(k));
    ASSERT_TRUE(panels.composition.visible);
    EXPECT_EQ(panels.feedback->zhuyin, "ㄋㄧˇ ㄏㄠˇ");
    EXPECT_EQ(panels.mode, "zhuyin");
    controller.handle(key("", code(KeyCode::downArrow)));
    EXPECT_FALSE(panels.composition.visible);
    EXPECT_TRUE(panels.candidates.visible);
    controller.handle(key("", code(KeyCode::escape)));
    EXPECT_TRUE(panels.composition.visible);
    defaults.set("feedbackMode", std::string("off"));
    controller.handle(key("", code(KeyCode::leftArrow)));
    EXPECT_FALSE(panels.composition.visible);
}

TEST_F(ControllerTest, ALateDeactivationLeavesAnotherControllersPanels) {
    RecordingPanels panels;
    shared.panels = &panels;
    defaults.set("feedbackMode", std::string("raw"));
    RecordingClient otherClient;
    auto other = std::make_unique<KelvoInputController>(otherClient, shared);
    for (const char* k : {"s", "u", "3"})
        controller.handle(key(k));
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
