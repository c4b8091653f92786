#include "SettingKey.hpp"

namespace kelvo {

StoredSettings storedIn(const platform::UserDefaults& defaults) {
    return [&defaults](std::string_view name) { return defaults.value(name); };
}

void registerDefaults(platform::UserDefaults& defaults) {
    for (SettingKey key : {SettingKey::reverseDetection, SettingKey::feedbackMode, SettingKey::customText,
                           SettingKey::preferredCapitalization})
        defaults.set(settingName(key), declaration(key).defaultValue);
    std::map<std::string, platform::DefaultsValue> registered;
    for (const SettingDeclaration& setting : settingDeclarations())
        if (setting.registered) registered.emplace(std::string(setting.name), setting.defaultValue);
    defaults.registerDefaults(registered);
}

bool booleanSetting(const platform::UserDefaults& defaults, SettingKey key) {
    return booleanSetting(storedIn(defaults), key);
}

long long integerSetting(const platform::UserDefaults& defaults, SettingKey key) {
    return integerSetting(storedIn(defaults), key);
}

std::optional<std::string> stringSetting(const platform::UserDefaults& defaults, SettingKey key) {
    return stringSetting(storedIn(defaults), key);
}

void applySettings(InputEngine& engine, const platform::UserDefaults& defaults,
                   const std::shared_ptr<const EnglishDetector>& englishDetector,
                   const std::shared_ptr<CustomTextStore>& customTexts,
                   const std::shared_ptr<const EnglishVocabulary>& englishVocabulary,
                   const std::shared_ptr<const EnglishVocabulary>& userVocabulary) {
    EngineSettings settings = engineSettings(storedIn(defaults));
    settings.englishDetector = englishDetector;
    settings.customTexts = customTexts;
    settings.englishVocabulary = englishVocabulary;
    settings.userVocabulary = userVocabulary;
    engine.setSettings(std::move(settings));
}

} // namespace kelvo
