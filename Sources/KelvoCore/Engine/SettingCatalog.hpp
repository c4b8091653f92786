#pragma once

#include "Engine/EngineSettings.hpp"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace kelvo {

// One stored preference value.
using SettingValue = std::variant<bool, long long, std::string>;

// The user's preferences, each declared once below with its stored name, type, default and range.
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

struct SettingDeclaration {
    SettingKey key;
    std::string_view name;
    SettingValue defaultValue; // its type is the setting's type
    bool registered = true;    // false: no default is registered, a missing value means "not chosen"
    long long minimum = 0;     // for whole numbers: the range a stored value is clamped to
    long long maximum = 0;
};

// Every setting, in the order of SettingKey.
const std::array<SettingDeclaration, 15>& settingDeclarations();
const SettingDeclaration& declaration(SettingKey key);
std::string_view settingName(SettingKey key);

// Where stored values come from: the value stored under a name, absent when there is none.
using StoredSettings = std::function<std::optional<SettingValue>(std::string_view name)>;

// Typed reads. A missing value reads as the declared default; a value of another type as the
// type's neutral value (false, 0, absent); a whole number is clamped to its range.
bool booleanSetting(const StoredSettings& stored, SettingKey key);
long long integerSetting(const StoredSettings& stored, SettingKey key);
std::optional<std::string> stringSetting(const StoredSettings& stored, SettingKey key);

// The one punctuation mode the stored settings choose: "punctuationMode" when it names a mode,
// else smart with full-width punctuation on and english with it off.
PunctuationMode punctuationSetting(const StoredSettings& stored);

// How committed text is formatted: the three space rules and the punctuation mode.
TextFormatting formattingSettings(const StoredSettings& stored);

// The engine's settings as stored; the word list and the shortcut store are the caller's to add.
EngineSettings engineSettings(const StoredSettings& stored);

} // namespace kelvo
