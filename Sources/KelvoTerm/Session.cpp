#include "Session.hpp"

#include <iostream>

namespace kelvo::term {
namespace {

// A data file of the installed package beside the program, else the one of the source tree the
// program was built from.
std::filesystem::path bundledData(const std::string& name, const char* inSourceTree) {
    std::error_code error;
    const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        auto installed = (program.parent_path() / KELVO_DATA_FROM_BIN / "data" / name).lexically_normal();
        if (std::filesystem::is_regular_file(installed, error)) return installed;
    }
    return inSourceTree;
}

} // namespace

SharedResources SharedResources::load(const TermSettings& settings,
                                      const std::optional<std::filesystem::path>& userData) {
    SharedResources resources;
    resources.lexicon =
        Lexicon::contentsOf(settings.dictionary.value_or(bundledData("data.txt", KELVO_BUNDLED_DICTIONARY)));
    try {
        resources.wordPairs = WordPairModel::open(bundledData("bigrams.bin", KELVO_BUNDLED_WORD_PAIRS));
    } catch (const WordPairModelError& error) {
        std::cerr << "kelvo-term: " << error.what() << "; each word is scored alone\n";
    }
    resources.englishVocabulary =
        EnglishVocabulary::contentsOf(bundledData("english.txt", KELVO_BUNDLED_VOCABULARY));
    try {
        resources.englishDetector = EnglishDetector::contentsOf("/usr/share/dict/words");
    } catch (const EnglishDetectorError&) {
        // Without the word list the engine still recognises its built-in English terms.
    }
    if (userData) {
        if (settings.learning()) {
            resources.userPhrases =
                std::make_shared<UserPhraseStore>(*userData / "Kelvo" / "userphrases.json");
            // A batch starts from what was learned, not from what the worker read by its first key.
            resources.userPhrases->flush();
        }
        resources.customTexts = std::make_shared<CustomTextStore>(*userData / "Kelvo" / "customtexts.json");
    } else {
        resources.customTexts = std::make_shared<CustomTextStore>();
    }
    return resources;
}

bool SharedResources::save(std::ostream& errors) const {
    std::vector<StoreNotice> notices;
    const bool saved = !userPhrases || userPhrases->finish();
    if (userPhrases) notices = userPhrases->takeNotices();
    for (auto& notice : customTexts->takeNotices())
        notices.push_back(std::move(notice));
    for (const StoreNotice& notice : notices)
        errors << "kelvo-term: " << notice.message << " (" << notice.detail << ")\n";
    return saved;
}

Session::Session(const SharedResources& resources, const TermSettings& settings)
    : resources_(resources), settings_(settings), engine_(resources.lexicon) {
    if (resources_.wordPairs) engine_.setWordPairs(resources_.wordPairs);
    if (resources_.userPhrases) engine_.setUserPhrases(resources_.userPhrases);
}

void Session::ensureSettings() {
    applySettings(engine_, settings_, resources_.englishDetector, resources_.customTexts,
                  resources_.englishVocabulary);
}

InputEngine::Output Session::handle(const KeyInput& key) {
    ensureSettings();
    return engine_.handle(key);
}

std::optional<std::string> Session::flush() {
    ensureSettings();
    return engine_.flush();
}

} // namespace kelvo::term
