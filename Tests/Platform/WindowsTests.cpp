#include "Windows.hpp"

#include <cstdlib>
#include <gtest/gtest.h>

// Offscreen: the window opens, the application runs its loop and quits with status 0.
TEST(Windows, ASimpleWindowRunsUntilTheApplicationQuits) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    EXPECT_EQ(kelvo::platform::runSimpleWindow("Kelvo操作說明", "注音", 0), 0);
}
