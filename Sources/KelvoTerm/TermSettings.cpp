#include "TermSettings.hpp"

#include <cstdlib>
#include <sstream>

namespace kelvo::term {
namespace {

void set(TermSettings& settings, SettingKey key, SettingValue value) {
    settings.values[std::string(settingName(key))] = std::move(value);
}

bool setSpaces(TermSettings& settings, const std::string& list) {
    for (SettingKey key :
         {SettingKey::chineseEnglishSpace, SettingKey::chineseNumberSpace, SettingKey::englishNumberSpace})
        set(settings, key, false);
    if (list == "none") return true;
    std::stringstream names(list);
    for (std::string name; std::getline(names, name, ',');) {
        if (name == "cn-en")
            set(settings, SettingKey::chineseEnglishSpace, true);
        else if (name == "cn-num")
            set(settings, SettingKey::chineseNumberSpace, true);
        else if (name == "en-num")
            set(settings, SettingKey::englishNumberSpace, true);
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
            set(settings, SettingKey::englishHint, false);
        } else if (argument == "--no-automatic-english") {
            set(settings, SettingKey::automaticEnglish, false);
        } else if (argument == "--no-learning") {
            set(settings, SettingKey::learning, false);
        } else if (argument == "--custom-text") {
            set(settings, SettingKey::customText, true);
        } else if (argument == "--timing") {
            settings.timing = true;
        } else if (argument == "--page-size") {
            auto size = value();
            if (!size || size->empty() || size->find_first_not_of("0123456789") != std::string::npos)
                return fail("--page-size needs a whole number");
            set(settings, SettingKey::pageSize, std::stoll(size->substr(0, 18)));
        } else if (argument == "--punctuation") {
            auto mode = value();
            if (!mode || !punctuationModeFrom(*mode))
                return fail("--punctuation needs smart, chinese or english");
            set(settings, SettingKey::punctuationMode, *mode);
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

StoredSettings TermSettings::stored() const {
    return [this](std::string_view name) -> std::optional<SettingValue> {
        auto found = values.find(name);
        if (found == values.end()) return std::nullopt;
        return found->second;
    };
}

void applySettings(InputEngine& engine, const TermSettings& settings,
                   const std::shared_ptr<const EnglishDetector>& englishDetector,
                   const std::shared_ptr<CustomTextStore>& customTexts,
                   const std::shared_ptr<const EnglishVocabulary>& englishVocabulary) {
    EngineSettings engineSettings = kelvo::engineSettings(settings.stored());
    engineSettings.englishDetector = englishDetector;
    engineSettings.englishVocabulary = englishVocabulary;
    engineSettings.customTexts = customTexts;
    engine.setSettings(std::move(engineSettings));
}

} // namespace kelvo::term
