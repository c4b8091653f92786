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

// Keys fed to a fresh detector, whether the last one fires (with the run's keys) and whether the
// detector still tracks a streak afterwards.
TEST(ChineseTypingDetector, FiresOnTwoKnownSyllablesWithADigitTone) {
    struct Case {
        const char* keys;
        std::optional<std::string> fired;
        bool tracking;
    };
    const Case cases[] = {
        {"su3cl", std::nullopt, true},
        {"su3cl3", "su3cl3", false},
        {"su3cl3su3", std::nullopt, true}, // a new streak after firing
        {"a8 w8 ", std::nullopt, true},    // first tones alone do not fire
        {"a8 w8 su3", "a8 w8 su3", false},
        {"su3=", std::nullopt, false},   // a rejected key clears the streak
        {"su3=cl3", std::nullopt, true}, // and the syllable before it no longer counts
        {"su31u4", std::nullopt, false}, // ㄅㄧˋ is unknown here
        {"qqqqqqqqqqqq", std::nullopt, true},
        {"qqqqqqqqqqqqq", std::nullopt, false}, // an overlong partial syllable
    };
    for (const Case& c : cases) {
        auto detector = makeDetector();
        EXPECT_EQ(feedAll(detector, c.keys), c.fired) << c.keys;
        EXPECT_EQ(detector.isTracking(), c.tracking) << c.keys;
    }
}
