#include "EngineSettings.hpp"

#include "SettingKey.hpp"

namespace kelvo {

void applySettings(InputEngine& engine, const platform::UserDefaults& defaults,
                   const std::shared_ptr<const EnglishDetector>& englishDetector,
                   const std::shared_ptr<CustomTextStore>& customTexts) {
    engine.englishDetector = englishDetector;
    engine.englishHintEnabled = booleanSetting(defaults, SettingKey::englishHint);
    engine.automaticEnglishEnabled = booleanSetting(defaults, SettingKey::automaticEnglish);
    engine.fullWidthPunctuation = booleanSetting(defaults, SettingKey::fullWidthPunctuation);
    engine.punctuationMode = punctuationModeSetting(defaults);
    engine.pageSize = static_cast<int>(integerSetting(defaults, SettingKey::pageSize));
    engine.setLearningEnabled(booleanSetting(defaults, SettingKey::learning));
    engine.customTextEnabled = booleanSetting(defaults, SettingKey::customText);
    engine.customTexts = customTexts;
    engine.formatting = formattingSettings(defaults);
}

TextFormatting formattingSettings(const platform::UserDefaults& defaults) {
    PunctuationMode committed = committedPunctuationMode(
        punctuationModeSetting(defaults), booleanSetting(defaults, SettingKey::fullWidthPunctuation));
    return TextFormatting(booleanSetting(defaults, SettingKey::chineseEnglishSpace),
                          booleanSetting(defaults, SettingKey::chineseNumberSpace),
                          booleanSetting(defaults, SettingKey::englishNumberSpace), false, {}, committed);
}

} // namespace kelvo
