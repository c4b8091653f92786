#include "Engine/SettingCatalog.hpp"

#include <algorithm>

namespace kelvo {

const std::array<SettingDeclaration, 15>& settingDeclarations() {
    using K = SettingKey;
    static const std::array<SettingDeclaration, 15> declarations = {{
        {K::shiftToggle, "shiftToggle", true},
        {K::englishHint, "englishHint", true},
        {K::automaticEnglish, "automaticEnglish", true},
        {K::reverseDetection, "reverseDetection", false},
        {K::fullWidthPunctuation, "fullWidthPunctuation", true},
        {K::feedbackMode, "feedbackMode", std::string("off")},
        {K::preferredCapitalization, "preferredCapitalization", false},
        {K::preferredTerms, "preferredTerms", std::string()},
        {K::pageSize, "pageSize", 9LL, true, 1, 100},
        {K::learning, "learning", true},
        {K::customText, "customText", false},
        {K::chineseEnglishSpace, "chineseEnglishSpace", true},
        {K::chineseNumberSpace, "chineseNumberSpace", true},
        {K::englishNumberSpace, "englishNumberSpace", false},
        {K::punctuationMode, "punctuationMode", std::string(), false},
    }};
    return declarations;
}

const SettingDeclaration& declaration(SettingKey key) {
    return settingDeclarations()[static_cast<std::size_t>(key)];
}

std::string_view settingName(SettingKey key) {
    return declaration(key).name;
}

namespace {

template <typename T> std::optional<T> storedAs(const StoredSettings& stored, SettingKey key) {
    const SettingDeclaration& setting = declaration(key);
    std::optional<SettingValue> value = stored(setting.name);
    if (!value) {
        if (!setting.registered) return std::nullopt;
        value = setting.defaultValue;
    }
    if (const T* typed = std::get_if<T>(&*value)) return *typed;
    return std::nullopt;
}

} // namespace

bool booleanSetting(const StoredSettings& stored, SettingKey key) {
    return storedAs<bool>(stored, key).value_or(false);
}

long long integerSetting(const StoredSettings& stored, SettingKey key) {
    auto value = storedAs<long long>(stored, key);
    if (!value) return 0;
    const SettingDeclaration& setting = declaration(key);
    if (setting.minimum < setting.maximum) return std::clamp(*value, setting.minimum, setting.maximum);
    return *value;
}

std::optional<std::string> stringSetting(const StoredSettings& stored, SettingKey key) {
    return storedAs<std::string>(stored, key);
}

PunctuationMode punctuationSetting(const StoredSettings& stored) {
    auto name = stringSetting(stored, SettingKey::punctuationMode);
    std::optional<PunctuationMode> chosen = name ? punctuationModeFrom(*name) : std::nullopt;
    return committedPunctuationMode(chosen, booleanSetting(stored, SettingKey::fullWidthPunctuation));
}

TextFormatting formattingSettings(const StoredSettings& stored) {
    return TextFormatting(booleanSetting(stored, SettingKey::chineseEnglishSpace),
                          booleanSetting(stored, SettingKey::chineseNumberSpace),
                          booleanSetting(stored, SettingKey::englishNumberSpace), false, {},
                          punctuationSetting(stored));
}

EngineSettings engineSettings(const StoredSettings& stored) {
    EngineSettings settings;
    settings.pageSize = static_cast<int>(integerSetting(stored, SettingKey::pageSize));
    settings.englishHint = booleanSetting(stored, SettingKey::englishHint);
    settings.automaticEnglish = booleanSetting(stored, SettingKey::automaticEnglish);
    settings.learning = booleanSetting(stored, SettingKey::learning);
    settings.customText = booleanSetting(stored, SettingKey::customText);
    settings.formatting = formattingSettings(stored);
    return settings;
}

} // namespace kelvo
