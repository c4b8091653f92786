#pragma once

#include "Engine/InputEngine.hpp"
#include "Engine/SettingCatalog.hpp"

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kelvo::term {

// The settings kelvo-term gives its engine: the values the command line sets, stored under the
// names the desktop host uses, with the declared defaults where no flag says otherwise.
struct TermSettings {
    std::map<std::string, SettingValue, std::less<>> values;
    std::optional<std::filesystem::path> userData;   // folder that holds Kelvo/userphrases.json
    std::optional<std::filesystem::path> dictionary; // instead of the bundled one
    bool timing = false;

    StoredSettings stored() const;
    bool learning() const { return booleanSetting(stored(), SettingKey::learning); }
};

// What the command line asks for: the mode and its settings, or a usage error.
struct Invocation {
    bool batch = false;
    TermSettings settings;
    std::string error; // not empty when the arguments are wrong
};

Invocation parseArguments(const std::vector<std::string>& arguments);

// The folder that plays the part of Application Support: $XDG_DATA_HOME, else ~/.local/share.
std::optional<std::filesystem::path> defaultUserDataFolder();

// Assigns every setting to the engine, as the desktop host does before each key.
void applySettings(InputEngine& engine, const TermSettings& settings,
                   const std::shared_ptr<const EnglishDetector>& englishDetector,
                   const std::shared_ptr<CustomTextStore>& customTexts,
                   const std::shared_ptr<const EnglishVocabulary>& englishVocabulary = nullptr);

} // namespace kelvo::term
