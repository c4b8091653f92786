#include "SettingKey.hpp"

#include <gtest/gtest.h>

using namespace kelvo;
using kelvo::platform::MemoryDefaults;

TEST(SettingKey, FifteenKeysWithDistinctNames) {
    std::set<std::string_view> names;
    for (SettingKey key : allSettingKeys)
        names.insert(settingName(key));
    EXPECT_EQ(names.size(), 15u);
    EXPECT_TRUE(names.contains("chineseEnglishSpace"));
}

TEST(SettingKey, FreshUserReadsTheRegisteredDefaults) {
    MemoryDefaults defaults;
    registerDefaults(defaults);
    EXPECT_EQ(integerSetting(defaults, SettingKey::pageSize), 9);
    EXPECT_FALSE(booleanSetting(defaults, SettingKey::englishNumberSpace));
    EXPECT_TRUE(booleanSetting(defaults, SettingKey::shiftToggle));
    EXPECT_TRUE(booleanSetting(defaults, SettingKey::chineseNumberSpace));
    EXPECT_EQ(stringSetting(defaults, SettingKey::preferredTerms), "");
    EXPECT_EQ(punctuationModeSetting(defaults), std::nullopt);
    EXPECT_EQ(defaults.value("punctuationMode"), std::nullopt); // never registered
}

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
    defaults.set("punctuationMode", std::string("chinese"));
    EXPECT_EQ(punctuationModeSetting(defaults), PunctuationMode::chinese);
    defaults.set("punctuationMode", std::string(""));
    EXPECT_EQ(punctuationModeSetting(defaults), std::nullopt);
    defaults.set("punctuationMode", std::string("Smart"));
    EXPECT_EQ(punctuationModeSetting(defaults), std::nullopt);
    defaults.set("punctuationMode", true); // wrong type
    EXPECT_EQ(punctuationModeSetting(defaults), std::nullopt);
}
