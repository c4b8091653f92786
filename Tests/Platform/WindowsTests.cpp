#include "Windows.hpp"

#include <cstdlib>
#include <gtest/gtest.h>

// Offscreen: the windows open, the application runs its loop and quits with status 0.
TEST(Windows, AWindowApplicationRunsUntilItQuits) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    bool started = false;
    EXPECT_EQ(kelvo::platform::runWindowApplication([&] { started = true; }, 0), 0);
    EXPECT_TRUE(started);
}
