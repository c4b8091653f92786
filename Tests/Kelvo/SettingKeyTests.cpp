#include "SettingKey.hpp"

#include <gtest/gtest.h>

using namespace kelvo;
using kelvo::platform::MemoryDefaults;

TEST(SettingKey, FourSettingsAreForcedOffAtEveryStart) {
    MemoryDefaults defaults;
    defaults.set("feedbackMode", std::string("both"));
    defaults.set("customText", true);
    defaults.set("reverseDetection", true);
    defaults.set("preferredCapitalization", true);
    defaults.set("pageSize", 7LL);
    registerDefaults(defaults);
    EXPECT_EQ(stringSetting(defaults, SettingKey::feedbackMode), "off");
    EXPECT_FALSE(booleanSetting(defaults, SettingKey::customText));
    EXPECT_FALSE(booleanSetting(defaults, SettingKey::reverseDetection));
    EXPECT_FALSE(booleanSetting(defaults, SettingKey::preferredCapitalization));
    EXPECT_EQ(integerSetting(defaults, SettingKey::pageSize), 7); // the user's own values stay
}

TEST(SettingKey, PunctuationModeNamesAModeOrFollowsFullWidth) {
    MemoryDefaults defaults;
    registerDefaults(defaults);
    defaults.set("fullWidthPunctuation", false);
    EXPECT_EQ(punctuationSetting(storedIn(defaults)), PunctuationMode::english);
    defaults.set("punctuationMode", std::string("chinese"));
    EXPECT_EQ(punctuationSetting(storedIn(defaults)), PunctuationMode::chinese);
    for (SettingValue other :
         {SettingValue(std::string("")), SettingValue(std::string("Smart")), SettingValue(true)}) {
        defaults.set("punctuationMode", other); // no mode, or the wrong type
        EXPECT_EQ(punctuationSetting(storedIn(defaults)), PunctuationMode::english);
    }
}

TEST(SettingKey, NumbersAreClampedAndWrongTypesReadNeutral) {
    MemoryDefaults defaults;
    registerDefaults(defaults);
    defaults.set("pageSize", 2147483647LL);
    EXPECT_EQ(integerSetting(defaults, SettingKey::pageSize), 100);
    defaults.set("pageSize", -4LL);
    EXPECT_EQ(integerSetting(defaults, SettingKey::pageSize), 1);
    defaults.set("pageSize", std::string("9"));
    EXPECT_EQ(integerSetting(defaults, SettingKey::pageSize), 0);
    EXPECT_EQ(engineSettings(storedIn(defaults)).effectivePageSize(), 1);
    defaults.set("learning", std::string("yes"));
    EXPECT_FALSE(booleanSetting(defaults, SettingKey::learning));
}
