#include "KeyCodes.hpp"
#include "SurroundingText.hpp"
#include "XKeyTranslator.hpp"

#include <X11/keysym.h>
#include <gtest/gtest.h>

using namespace kelvo::platform;

namespace {

constexpr unsigned keyA = 30, leftShift = 42, capsLock = 58, returnKey = 28;
// X's state bits (X.h names them, and a macro of it clashes with the test framework).
constexpr unsigned ShiftMask = 1, LockMask = 2, ControlMask = 4;

} // namespace

// Every key of the end-to-end typing tests goes through here; these are what plain keys do not show.
TEST(XKeyTranslator, KeysBecomeTheHostsEvents) {
    XKeyTranslator keys;
    EXPECT_FALSE(keys.translate(XK_a, keyA, 0, true, 1.1)); // releases of keys are not the host's
    auto shifted = keys.translate(XK_A, keyA, ShiftMask | LockMask | ControlMask, false, 2.0);
    EXPECT_EQ(shifted->characters, "A");
    EXPECT_EQ(shifted->modifierFlags, modifier::shift | modifier::capsLock | modifier::control);
    EXPECT_EQ(keys.translate(XK_Return, returnKey, 0, false, 2.1)->keyCode, code(KeyCode::returnKey));
    // Another layout's symbol on a key: the key types what it types on a US layout.
    EXPECT_EQ(keys.translate(XK_q, keyA, 0, false, 2.2)->characters, "a");
}

TEST(XKeyTranslator, HeldKeysRepeatUntilReleased) {
    XKeyTranslator keys;
    EXPECT_FALSE(keys.translate(XK_a, keyA, 0, false, 1.0)->isARepeat);
    EXPECT_TRUE(keys.translate(XK_a, keyA, 0, false, 1.5)->isARepeat);
    keys.translate(XK_a, keyA, 0, true, 1.6);
    EXPECT_FALSE(keys.translate(XK_a, keyA, 0, false, 2.0)->isARepeat);
}

// Modifier changes carry the state after the change, as the Shift-tap detector reads them.
TEST(XKeyTranslator, ModifierKeysReportTheStateAfterTheChange) {
    XKeyTranslator keys;
    auto down = keys.translate(XK_Shift_L, leftShift, 0, false, 1.0);
    ASSERT_TRUE(down);
    EXPECT_EQ(down->type, KeyEvent::Type::flagsChanged);
    EXPECT_EQ(down->keyCode, code(KeyCode::leftShift));
    EXPECT_EQ(down->modifierFlags, modifier::shift);
    auto up = keys.translate(XK_Shift_L, leftShift, ShiftMask, true, 1.1);
    ASSERT_TRUE(up);
    EXPECT_EQ(up->modifierFlags, 0u);

    auto capsOn = keys.translate(XK_Caps_Lock, capsLock, 0, false, 2.0);
    EXPECT_EQ(capsOn->modifierFlags, modifier::capsLock);
    EXPECT_FALSE(keys.translate(XK_Caps_Lock, capsLock, LockMask, true, 2.1)); // it changed on the press
    EXPECT_EQ(keys.translate(XK_Caps_Lock, capsLock, LockMask, false, 3.0)->modifierFlags, 0u);
}

// Frameworks count scalars; the host counts UTF-16 units, in which 𠮷 is two.
TEST(SurroundingText, OffsetsTurnIntoUTF16Units) {
    const SurroundingText around{"a𠮷你好", 3, 1};
    EXPECT_EQ(around.selectedRange()->location, 1);
    EXPECT_EQ(around.selectedRange()->length, 3); // 𠮷 and 你
    EXPECT_EQ(around.textIn({1, 3}), "𠮷你");
    EXPECT_FALSE(around.textIn({4, 3}));
    EXPECT_EQ(around.scalarsIn({1, 3}), 2);
    EXPECT_EQ(around.scalarsIn({4, 9}), 9); // beyond the text: its length as given

    EXPECT_EQ(scalarIndexOfUTF16("a𠮷你", 3), 2);
    EXPECT_EQ(byteOffsetOfUTF16("a𠮷你", 3), 5);
    EXPECT_EQ(byteOffsetOfUTF16("a𠮷你", 99), 8);
}
