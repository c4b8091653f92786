#pragma once

#include "Engine/InputEngine.hpp"
#include "UserDefaults.hpp"

#include <memory>

namespace kelvo {

// Assigns every engine setting from the user's preferences, as they stand now: the host does this
// before each key, so a change in the settings window takes effect at the next key.
void applySettings(InputEngine& engine, const platform::UserDefaults& defaults,
                   const std::shared_ptr<const EnglishDetector>& englishDetector,
                   const std::shared_ptr<CustomTextStore>& customTexts);

// How committed text is formatted under the user's preferences: the three space rules and the
// punctuation mode, without preferred capitalisation or terms.
TextFormatting formattingSettings(const platform::UserDefaults& defaults);

} // namespace kelvo
