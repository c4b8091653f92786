#include "Detectors/ShiftTapDetector.hpp"

#include <gtest/gtest.h>

using namespace kelvo;
using Event = ShiftTapDetector::FlagsEvent;

TEST(ShiftTapDetector, QuickLoneTapFires) {
    ShiftTapDetector detector;
    EXPECT_FALSE(detector.process(Event::shiftDown(56), 10.00));
    EXPECT_TRUE(detector.process(Event::allReleased(56), 10.25));

    ShiftTapDetector slow;
    slow.process(Event::shiftDown(56), 10.00);
    EXPECT_FALSE(slow.process(Event::allReleased(56), 10.30));
}

TEST(ShiftTapDetector, KeysOtherModifiersAndTheOtherShiftDisarm) {
    ShiftTapDetector detector;
    detector.process(Event::shiftDown(56), 1.0);
    detector.noteKeyDown();
    EXPECT_FALSE(detector.process(Event::allReleased(56), 1.1));

    detector.process(Event::shiftDown(56), 2.0);
    EXPECT_FALSE(detector.process(Event::allReleased(60), 2.1));
    EXPECT_FALSE(detector.process(Event::allReleased(56), 2.15)); // disarmed by the other key's release

    detector.process(Event::shiftDown(56), 3.0);
    EXPECT_FALSE(detector.process(Event::other(), 3.05));
    EXPECT_FALSE(detector.process(Event::allReleased(56), 3.1));

    EXPECT_FALSE(detector.process(Event::allReleased(56), 4.0)); // nothing pending
}

TEST(ShiftTapDetector, TapsTooCloseTogetherCountOnce) {
    ShiftTapDetector detector;
    detector.process(Event::shiftDown(56), 5.00);
    EXPECT_TRUE(detector.process(Event::allReleased(56), 5.01));
    detector.process(Event::shiftDown(56), 5.02);
    EXPECT_FALSE(detector.process(Event::allReleased(56), 5.06));
    detector.process(Event::shiftDown(56), 5.07);
    EXPECT_TRUE(detector.process(Event::allReleased(56), 5.08));
    // The first tap after construction fires even at time 0.
    ShiftTapDetector fresh;
    fresh.process(Event::shiftDown(60), 0.0);
    EXPECT_TRUE(fresh.process(Event::allReleased(60), 0.01));
}

TEST(ShiftTapDetector, SecondShiftDownReplacesThePendingKey) {
    ShiftTapDetector detector;
    detector.process(Event::shiftDown(56), 1.0);
    detector.process(Event::shiftDown(60), 1.2);
    EXPECT_FALSE(detector.process(Event::allReleased(56), 1.3));
    detector.process(Event::shiftDown(56), 2.0);
    detector.process(Event::shiftDown(60), 2.2);
    EXPECT_TRUE(detector.process(Event::allReleased(60), 2.4)); // timed from the second press
}
