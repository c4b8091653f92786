#pragma once

#include "Engine/InputEngine.hpp"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kelvo::term {

// The settings kelvo-term gives its engine, from the command line, with the desktop host's
// registered defaults where no flag says otherwise.
struct TermSettings {
    int pageSize = 9;
    std::optional<PunctuationMode> punctuationMode; // absent: follow full-width punctuation
    bool fullWidthPunctuation = true;
    bool englishHint = true;
    bool automaticEnglish = true;
    bool learning = true;
    bool customText = false;
    bool chineseEnglishSpace = true;
    bool chineseNumberSpace = true;
    bool englishNumberSpace = false;
    std::optional<std::filesystem::path> userData;   // folder that holds Kelvo/userphrases.json
    std::optional<std::filesystem::path> dictionary; // instead of the bundled one
    bool timing = false;
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
                   const std::shared_ptr<CustomTextStore>& customTexts);

} // namespace kelvo::term
