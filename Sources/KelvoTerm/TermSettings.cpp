#include "TermSettings.hpp"

#include <cstdlib>
#include <sstream>

namespace kelvo::term {
namespace {

bool setSpaces(TermSettings& settings, const std::string& list) {
    settings.chineseEnglishSpace = settings.chineseNumberSpace = settings.englishNumberSpace = false;
    if (list == "none") return true;
    std::stringstream names(list);
    for (std::string name; std::getline(names, name, ',');) {
        if (name == "cn-en")
            settings.chineseEnglishSpace = true;
        else if (name == "cn-num")
            settings.chineseNumberSpace = true;
        else if (name == "en-num")
            settings.englishNumberSpace = true;
        else
            return false;
    }
    return true;
}

} // namespace

Invocation parseArguments(const std::vector<std::string>& arguments) {
    Invocation invocation;
    TermSettings& settings = invocation.settings;
    auto fail = [&](const std::string& message) {
        invocation.error = message;
        return invocation;
    };
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        auto value = [&]() -> std::optional<std::string> {
            if (i + 1 >= arguments.size()) return std::nullopt;
            return arguments[++i];
        };
        if (argument == "batch" && i == 0) {
            invocation.batch = true;
        } else if (argument == "--no-english-hint") {
            settings.englishHint = false;
        } else if (argument == "--no-automatic-english") {
            settings.automaticEnglish = false;
        } else if (argument == "--no-learning") {
            settings.learning = false;
        } else if (argument == "--custom-text") {
            settings.customText = true;
        } else if (argument == "--timing") {
            settings.timing = true;
        } else if (argument == "--page-size") {
            auto size = value();
            if (!size || size->empty() || size->find_first_not_of("0123456789") != std::string::npos)
                return fail("--page-size needs a whole number");
            settings.pageSize = std::atoi(size->c_str());
        } else if (argument == "--punctuation") {
            auto mode = value();
            settings.punctuationMode = mode ? punctuationModeFrom(*mode) : std::nullopt;
            if (!settings.punctuationMode) return fail("--punctuation needs smart, chinese or english");
        } else if (argument == "--spaces") {
            auto list = value();
            if (!list || !setSpaces(settings, *list))
                return fail("--spaces needs none or a list of cn-en, cn-num, en-num");
        } else if (argument == "--dictionary") {
            auto file = value();
            if (!file || file->empty()) return fail("--dictionary needs a file");
            settings.dictionary = *file;
        } else if (argument == "--user-data") {
            auto folder = value();
            if (!folder || folder->empty()) return fail("--user-data needs a folder");
            settings.userData = *folder;
        } else {
            return fail("unknown argument: " + argument);
        }
    }
    return invocation;
}

std::optional<std::filesystem::path> defaultUserDataFolder() {
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data) return std::filesystem::path(data);
    if (const char* home = std::getenv("HOME"); home && *home)
        return std::filesystem::path(home) / ".local" / "share";
    return std::nullopt;
}

void applySettings(InputEngine& engine, const TermSettings& settings,
                   const std::shared_ptr<const EnglishDetector>& englishDetector,
                   const std::shared_ptr<CustomTextStore>& customTexts) {
    engine.englishDetector = englishDetector;
    engine.englishHintEnabled = settings.englishHint;
    engine.automaticEnglishEnabled = settings.automaticEnglish;
    engine.fullWidthPunctuation = settings.fullWidthPunctuation;
    engine.punctuationMode = settings.punctuationMode;
    engine.pageSize = settings.pageSize;
    engine.setLearningEnabled(settings.learning);
    engine.customTextEnabled = settings.customText;
    engine.customTexts = customTexts;
    PunctuationMode committedMode =
        committedPunctuationMode(settings.punctuationMode, settings.fullWidthPunctuation);
    engine.formatting = TextFormatting(settings.chineseEnglishSpace, settings.chineseNumberSpace,
                                       settings.englishNumberSpace, false, {}, committedMode);
}

} // namespace kelvo::term
