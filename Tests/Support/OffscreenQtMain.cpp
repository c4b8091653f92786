// Runs GoogleTest suites that need a Qt application, drawn off-screen.
#include "Windows.hpp"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    kelvo::platform::preferTaiwanGlyphs(); // as every window of the product does
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
