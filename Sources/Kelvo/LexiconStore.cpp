#include "LexiconStore.hpp"

#include "Dictionary/DictionaryCheck.hpp"
#include "InstalledPrograms.hpp"

#include <cstdlib>

namespace kelvo {
namespace {

// An installed program's name is about as likely as an uncommon English word.
constexpr double programNameScore = -5.0;

} // namespace

std::shared_ptr<const Lexicon> loadBundledDictionary(const std::optional<platform::Bundle>& bundle) {
    if (!bundle) return nullptr;
    auto file = bundle->resource("data.txt", "data");
    if (!file) return nullptr;
    try {
        auto lexicon = Lexicon::contentsOf(*file);
        return hasEnoughEntries(*lexicon) ? lexicon : nullptr;
    } catch (const LexiconError&) {
        return nullptr;
    }
}

void LexiconStore::bootstrap(const std::optional<platform::Bundle>& bundle, platform::Logger& log,
                             const std::filesystem::path& wordList) {
    if (lexicon_) return;
    auto lexicon = loadBundledDictionary(bundle);
    if (!lexicon) {
        log.log(platform::Logger::Level::fault,
                "Required dictionary unavailable; input service cannot start");
        return;
    }
    lexicon_ = lexicon;
    try {
        if (auto file = bundle->resource("bigrams.bin", "data")) wordPairs_ = WordPairModel::open(*file);
    } catch (const WordPairModelError& error) {
        log.log(platform::Logger::Level::error, error.what());
    }
    if (!wordPairs_)
        log.log(platform::Logger::Level::error, "Word-pair model unavailable; each word is scored alone");
    try {
        if (auto file = bundle->resource("english.txt", "data"))
            englishVocabulary_ = EnglishVocabulary::contentsOf(*file);
    } catch (const VocabularyError& error) {
        log.log(platform::Logger::Level::error, error.what());
    }
    if (!englishVocabulary_)
        log.log(platform::Logger::Level::error, "English vocabulary unavailable; keys are read as English "
                                                "only when taken from the hint or the list");
    const char* searchPath = std::getenv("PATH");
    auto programs = platform::installedProgramNames(searchPath ? searchPath : "", platform::dataFolders());
    programNames_ = EnglishVocabulary::ofWords(programs, programNameScore);
    try {
        englishDetector_ = EnglishDetector::contentsOf(wordList);
    } catch (const EnglishDetectorError&) {
        englishDetector_.reset(); // the vocabulary still recognises English
        log.log(platform::Logger::Level::standard, "No system word list at " + wordList.string());
    }
    log.log(platform::Logger::Level::standard,
            "Input dictionary ready: " + std::to_string(lexicon_->entryCount()) + " entries");
}

void LexiconStore::resetForTesting() {
    lexicon_.reset();
    wordPairs_.reset();
    englishDetector_.reset();
    englishVocabulary_.reset();
    programNames_.reset();
}

} // namespace kelvo
