#pragma once

#include "Formatting/PunctuationMode.hpp"
#include "UserDefaults.hpp"

#include <array>
#include <optional>
#include <string_view>

namespace kelvo {

// The keys of Kelvo's preferences in the per-user defaults store.
enum class SettingKey {
    shiftToggle,
    englishHint,
    automaticEnglish,
    reverseDetection,
    fullWidthPunctuation,
    feedbackMode,
    preferredCapitalization,
    preferredTerms,
    pageSize,
    learning,
    customText,
    chineseEnglishSpace,
    chineseNumberSpace,
    englishNumberSpace,
    punctuationMode,
};

inline constexpr std::array<SettingKey, 15> allSettingKeys = {
    SettingKey::shiftToggle,
    SettingKey::englishHint,
    SettingKey::automaticEnglish,
    SettingKey::reverseDetection,
    SettingKey::fullWidthPunctuation,
    SettingKey::feedbackMode,
    SettingKey::preferredCapitalization,
    SettingKey::preferredTerms,
    SettingKey::pageSize,
    SettingKey::learning,
    SettingKey::customText,
    SettingKey::chineseEnglishSpace,
    SettingKey::chineseNumberSpace,
    SettingKey::englishNumberSpace,
    SettingKey::punctuationMode,
};

// The name a key is stored under.
std::string_view settingName(SettingKey key);

// Forces four settings off at every start (reverse detection, the composition panel, text shortcuts,
// preferred capitalisation), then registers the defaults of the others.
void registerDefaults(platform::UserDefaults& defaults);

bool booleanSetting(const platform::UserDefaults& defaults, SettingKey key);
long long integerSetting(const platform::UserDefaults& defaults, SettingKey key);
std::optional<std::string> stringSetting(const platform::UserDefaults& defaults, SettingKey key);
// The stored punctuation mode; absent when missing or naming no mode (follow full-width punctuation).
std::optional<PunctuationMode> punctuationModeSetting(const platform::UserDefaults& defaults);

} // namespace kelvo
