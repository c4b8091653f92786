#include "SettingKey.hpp"

namespace kelvo {

std::string_view settingName(SettingKey key) {
    switch (key) {
    case SettingKey::shiftToggle:
        return "shiftToggle";
    case SettingKey::englishHint:
        return "englishHint";
    case SettingKey::automaticEnglish:
        return "automaticEnglish";
    case SettingKey::reverseDetection:
        return "reverseDetection";
    case SettingKey::fullWidthPunctuation:
        return "fullWidthPunctuation";
    case SettingKey::feedbackMode:
        return "feedbackMode";
    case SettingKey::preferredCapitalization:
        return "preferredCapitalization";
    case SettingKey::preferredTerms:
        return "preferredTerms";
    case SettingKey::pageSize:
        return "pageSize";
    case SettingKey::learning:
        return "learning";
    case SettingKey::customText:
        return "customText";
    case SettingKey::chineseEnglishSpace:
        return "chineseEnglishSpace";
    case SettingKey::chineseNumberSpace:
        return "chineseNumberSpace";
    case SettingKey::englishNumberSpace:
        return "englishNumberSpace";
    case SettingKey::punctuationMode:
        return "punctuationMode";
    }
    return {};
}

void registerDefaults(platform::UserDefaults& defaults) {
    auto name = [](SettingKey key) { return std::string(settingName(key)); };
    defaults.set(settingName(SettingKey::reverseDetection), false);
    defaults.set(settingName(SettingKey::feedbackMode), std::string("off"));
    defaults.set(settingName(SettingKey::customText), false);
    defaults.set(settingName(SettingKey::preferredCapitalization), false);
    defaults.registerDefaults({
        {name(SettingKey::shiftToggle), true},
        {name(SettingKey::englishHint), true},
        {name(SettingKey::automaticEnglish), true},
        {name(SettingKey::reverseDetection), false},
        {name(SettingKey::fullWidthPunctuation), true},
        {name(SettingKey::feedbackMode), std::string("off")},
        {name(SettingKey::preferredCapitalization), false},
        {name(SettingKey::preferredTerms), std::string()},
        {name(SettingKey::pageSize), 9LL},
        {name(SettingKey::learning), true},
        {name(SettingKey::customText), false},
        {name(SettingKey::chineseEnglishSpace), true},
        {name(SettingKey::chineseNumberSpace), true},
        {name(SettingKey::englishNumberSpace), false},
    });
}

bool booleanSetting(const platform::UserDefaults& defaults, SettingKey key) {
    return defaults.boolean(settingName(key));
}

long long integerSetting(const platform::UserDefaults& defaults, SettingKey key) {
    return defaults.integer(settingName(key));
}

std::optional<std::string> stringSetting(const platform::UserDefaults& defaults, SettingKey key) {
    return defaults.string(settingName(key));
}

std::optional<PunctuationMode> punctuationModeSetting(const platform::UserDefaults& defaults) {
    auto name = stringSetting(defaults, SettingKey::punctuationMode);
    return name ? punctuationModeFrom(*name) : std::nullopt;
}

} // namespace kelvo
