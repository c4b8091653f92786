#pragma once

#include "Bundle.hpp"
#include "Detectors/EnglishDetector.hpp"
#include "Detectors/EnglishVocabulary.hpp"
#include "Dictionary/Lexicon.hpp"
#include "Dictionary/WordPairModel.hpp"
#include "Logger.hpp"

#include <memory>
#include <optional>

namespace kelvo {

// The dictionary and the English word list, loaded once for the process and shared by every engine.
class LexiconStore {
public:
    static std::shared_ptr<const Lexicon> lexicon() { return lexicon_; }
    static std::shared_ptr<const WordPairModel> wordPairs() { return wordPairs_; }
    static std::shared_ptr<const EnglishDetector> englishDetector() { return englishDetector_; }
    static std::shared_ptr<const EnglishVocabulary> englishVocabulary() { return englishVocabulary_; }
    static std::shared_ptr<const EnglishVocabulary> programNames() { return programNames_; }

    // Loads data/data.txt of the bundle, accepted only with more than 100000 entries, its model of
    // word pairs data/bigrams.bin (without it each word is scored alone), its English
    // vocabulary data/english.txt, the names of the installed programs and the system word list; logs the
    // outcome, and once what is missing. Does nothing once a dictionary is loaded.
    static void bootstrap(const std::optional<platform::Bundle>& bundle, platform::Logger& log,
                          const std::filesystem::path& wordList = "/usr/share/dict/words");

    // Forgets what was loaded (tests only).
    static void resetForTesting();

private:
    static inline std::shared_ptr<const Lexicon> lexicon_;
    static inline std::shared_ptr<const WordPairModel> wordPairs_;
    static inline std::shared_ptr<const EnglishDetector> englishDetector_;
    static inline std::shared_ptr<const EnglishVocabulary> englishVocabulary_;
    static inline std::shared_ptr<const EnglishVocabulary> programNames_;
};

// The bundled dictionary if it is usable: readable as UTF-8 and larger than the threshold.
std::shared_ptr<const Lexicon> loadBundledDictionary(const std::optional<platform::Bundle>& bundle);

} // namespace kelvo
