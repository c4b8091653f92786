#pragma once

#include "Engine/InputEngine.hpp"
#include "Engine/SettingCatalog.hpp"
#include "UserDefaults.hpp"

#include <memory>
#include <optional>
#include <string>

namespace kelvo {

// The declared settings as the per-user defaults store holds them.
StoredSettings storedIn(const platform::UserDefaults& defaults);

// Forces four settings off at every start (reverse detection, the composition panel, text shortcuts,
// preferred capitalisation), then registers the declared defaults of the others.
void registerDefaults(platform::UserDefaults& defaults);

bool booleanSetting(const platform::UserDefaults& defaults, SettingKey key);
long long integerSetting(const platform::UserDefaults& defaults, SettingKey key);
std::optional<std::string> stringSetting(const platform::UserDefaults& defaults, SettingKey key);

// Assigns every engine setting from the user's preferences, as they stand now: the host does this
// before each key, so a change in the settings window takes effect at the next key.
void applySettings(InputEngine& engine, const platform::UserDefaults& defaults,
                   const std::shared_ptr<const EnglishDetector>& englishDetector,
                   const std::shared_ptr<CustomTextStore>& customTexts,
                   const std::shared_ptr<const EnglishVocabulary>& englishVocabulary = nullptr,
                   const std::shared_ptr<const EnglishVocabulary>& userVocabulary = nullptr);

} // namespace kelvo
