#pragma once

#include "Engine/InputEngine.hpp"
#include "TermSettings.hpp"

#include <memory>
#include <optional>
#include <ostream>
#include <string>

namespace kelvo::term {

// What every engine of the process shares: the dictionary, the word list and the user's files.
struct SharedResources {
    std::shared_ptr<const Lexicon> lexicon;
    std::shared_ptr<const WordPairModel> wordPairs;         // none when the model is missing or unusable
    std::shared_ptr<const EnglishDetector> englishDetector; // none when the word list is missing
    std::shared_ptr<const EnglishVocabulary> englishVocabulary;
    std::shared_ptr<UserPhraseStore> userPhrases; // none without learned data
    std::shared_ptr<CustomTextStore> customTexts;

    // Loads the dictionary (throws LexiconError when it cannot) and the word list, and opens the
    // user's files under `userData` when given.
    static SharedResources load(const TermSettings& settings,
                                const std::optional<std::filesystem::path>& userData);
    // Writes what was learned and tells on `errors` what the user's files had to say; false when
    // the learned data could not be saved.
    bool save(std::ostream& errors) const;
};

// One engine hosted as the desktop host hosts it: the settings are assigned before every key.
class Session {
public:
    Session(const SharedResources& resources, const TermSettings& settings);

    InputEngine::Output handle(const KeyInput& key);
    std::optional<std::string> flush();
    InputEngine& engine() { return engine_; }

private:
    void ensureSettings();

    const SharedResources& resources_;
    const TermSettings& settings_;
    InputEngine engine_;
};

} // namespace kelvo::term
