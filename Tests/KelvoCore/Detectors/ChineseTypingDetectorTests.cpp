#include "Detectors/ChineseTypingDetector.hpp"

#include <gtest/gtest.h>

using namespace kelvo;

namespace {
ChineseTypingDetector makeDetector() {
    return ChineseTypingDetector([](std::string_view reading) {
        return reading == "ㄋㄧˇ" || reading == "ㄏㄠˇ" || reading == "ㄇㄚ" || reading == "ㄊㄚ";
    });
}

std::optional<std::string> feedAll(ChineseTypingDetector& detector, std::string_view keys) {
    std::optional<std::string> last;
    for (char key : keys)
        last = detector.feed(std::string_view(&key, 1));
    return last;
}
} // namespace

TEST(ChineseTypingDetector, TwoKnownSyllablesWithADigitToneFire) {
    auto detector = makeDetector();
    EXPECT_EQ(feedAll(detector, "su3cl"), std::nullopt);
    EXPECT_EQ(detector.feed("3"), "su3cl3");
    EXPECT_FALSE(detector.isTracking());
    EXPECT_EQ(feedAll(detector, "su3"), std::nullopt);
    EXPECT_TRUE(detector.isTracking());
}

TEST(ChineseTypingDetector, FirstTonesAloneDoNotFire) {
    auto detector = makeDetector();
    EXPECT_EQ(feedAll(detector, "a8 w8 "), std::nullopt);
    EXPECT_TRUE(detector.isTracking());
    EXPECT_EQ(feedAll(detector, "su3"), "a8 w8 su3");
}

TEST(ChineseTypingDetector, RejectedKeysAndUnknownSyllablesClearTheStreak) {
    auto detector = makeDetector();
    feedAll(detector, "su3");
    detector.feed("=");
    EXPECT_FALSE(detector.isTracking());
    EXPECT_EQ(feedAll(detector, "cl3"), std::nullopt); // the earlier syllable no longer counts

    detector.reset();
    feedAll(detector, "su3");
    EXPECT_EQ(feedAll(detector, "1u4"), std::nullopt); // ㄅㄧˋ is unknown here
    EXPECT_FALSE(detector.isTracking());
}

TEST(ChineseTypingDetector, OverlongPartialSyllableResets) {
    auto detector = makeDetector();
    EXPECT_EQ(feedAll(detector, "qqqqqqqqqqqq"), std::nullopt);
    EXPECT_TRUE(detector.isTracking());
    detector.feed("q");
    EXPECT_FALSE(detector.isTracking());
}
