#include "ControllerTestSupport.hpp"

using namespace kelvo;
using namespace kelvo::testing;

namespace {
KeyEvent flags(std::uint16_t keyCode, std::uint32_t modifiers, double at) {
    return KeyEvent{KeyEvent::Type::flagsChanged, keyCode, "", modifiers, false, at};
}
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
