#include "ControllerTestSupport.hpp"

using namespace kelvo;
using namespace kelvo::testing;

namespace {
KeyEvent flags(std::uint16_t keyCode, std::uint32_t modifiers, double at) {
    return KeyEvent{KeyEvent::Type::flagsChanged, keyCode, "", modifiers, false, at};
}

// In English mode with reverse detection on, types keys the application takes as typed.
class ReverseDetectionTest : public ControllerTest {
protected:
    void SetUp() override {
        ControllerTest::SetUp();
        defaults.set("reverseDetection", true);
        shared.mode.chineseMode = false;
    }
    void typeInEnglish(std::string_view keys) {
        for (char k : keys)
            if (!controller.handle(key(std::string(1, k)))) client.inserted += k;
    }
};
} // namespace

TEST_F(ControllerTest, ALoneShiftTapSwitchesToEnglishCommittingTheComposition) {
    typeKeys("su3");
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
    typeKeys("su3");
    controller.handle(key("A", 0, modifier::shift)); // an English literal starts a literal run
    controller.handle(flags(code(KeyCode::leftShift), modifier::shift, 5.0));
    controller.handle(flags(code(KeyCode::leftShift), 0, 5.1));
    EXPECT_TRUE(shared.mode.chineseMode);
    EXPECT_EQ(client.inserted, "");
}

TEST_F(ControllerTest, CapsLockTypesEnglishWithoutLeavingChinese) {
    typeKeys("su3");
    controller.handle(flags(code(KeyCode::capsLock), modifier::capsLock, 1.0)); // Caps Lock on commits
    EXPECT_EQ(client.inserted, "你");
    EXPECT_FALSE(controller.handle(key("a", 0, modifier::capsLock)));
    EXPECT_TRUE(shared.mode.chineseMode);
    controller.handle(flags(code(KeyCode::capsLock), 0, 2.0));
    EXPECT_TRUE(controller.handle(key("a")));
}

TEST_F(ReverseDetectionTest, TheLettersAreTakenBackWhenTheyCanBeVerified) {
    typeInEnglish("su3cl");
    EXPECT_EQ(client.inserted, "su3cl"); // passed on
    EXPECT_TRUE(controller.handle(key("3")));
    EXPECT_TRUE(shared.mode.chineseMode);
    EXPECT_EQ(client.inserted, "");
    EXPECT_EQ(client.marked, "你好");
}

// The mode switches all the same.
TEST_F(ReverseDetectionTest, TheLettersStayWhenTheCaretIsUnknownOrMovedOrTheTextDiffers) {
    client.knowsCaret = false;
    typeInEnglish("su3cl");
    EXPECT_FALSE(controller.handle(key("3")));
    EXPECT_TRUE(shared.mode.chineseMode);
    EXPECT_EQ(client.inserted, "su3cl");

    client.knowsCaret = true;
    shared.mode.chineseMode = false;
    client.inserted.clear();
    typeInEnglish("su3c");
    client.inserted = "x" + client.inserted; // the user clicked elsewhere and typed before the letters
    typeInEnglish("l");
    EXPECT_FALSE(controller.handle(key("3")));
    EXPECT_TRUE(shared.mode.chineseMode);
    EXPECT_EQ(client.inserted, "xsu3cl");

    shared.mode.chineseMode = false;
    client.inserted.clear();
    typeInEnglish("su3cl");
    client.inserted[0] = 'x'; // the text before the caret is not what was typed
    EXPECT_FALSE(controller.handle(key("3")));
    EXPECT_TRUE(shared.mode.chineseMode);
    EXPECT_EQ(client.inserted, "xu3cl");
}
