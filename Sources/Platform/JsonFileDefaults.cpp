#include "JsonFileDefaults.hpp"

#include "StandardPaths.hpp"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <nlohmann/json.hpp>

namespace kelvo::platform {
namespace {

using Json = nlohmann::json;

constexpr std::string_view settingsName = "設定";

std::optional<DefaultsValue> valueFromJson(const Json& json) {
    if (json.is_boolean()) return json.get<bool>();
    // A number beyond the integer range is the largest integer, never wrapped around: settings
    // clamp it to their own range.
    if (json.is_number_unsigned())
        return static_cast<long long>(
            std::min<std::uint64_t>(json.get<std::uint64_t>(), std::numeric_limits<long long>::max()));
    if (json.is_number_integer()) return json.get<long long>();
    if (json.is_string()) return json.get<std::string>();
    return std::nullopt; // other JSON types are no preference this program writes
}

Json jsonFromValue(const DefaultsValue& value) {
    return std::visit([](const auto& v) { return Json(v); }, value);
}

} // namespace

JsonFileDefaults::JsonFileDefaults(std::filesystem::path file) : file_(std::move(file)) {
    std::error_code ignored;
    std::filesystem::create_directories(file_.path().parent_path(), ignored);
    watch_ = std::make_unique<kelvo::FolderWatch>(file_.path().parent_path());
    reload();
}

JsonFileDefaults::~JsonFileDefaults() = default;

std::filesystem::path JsonFileDefaults::standardLocation() {
    return configHome() / "Kelvo" / "defaults.json";
}

void JsonFileDefaults::reload() const {
    auto contents = file_.read();
    if (contents.error) notices_.add(unreadableNotice(settingsName, file_.path(), contents.error));
    if (!contents.text) {
        memory_.replaceUserValues({}); // no file: no user values
        return;
    }
    Json json = Json::parse(*contents.text, nullptr, /*allow_exceptions=*/false);
    if (!json.is_object()) return; // kept aside by the next save
    std::map<std::string, DefaultsValue, std::less<>> user;
    for (const auto& [key, item] : json.items())
        if (auto value = valueFromJson(item)) user[key] = std::move(*value);
    memory_.replaceUserValues(std::move(user));
}

void JsonFileDefaults::reloadIfChanged() const {
    if (watch_->takeEventsAbout(file_.path().filename().string())) reload();
}

unsigned long JsonFileDefaults::revision() const {
    reloadIfChanged();
    return memory_.revision();
}

std::optional<DefaultsValue> JsonFileDefaults::value(std::string_view key) const {
    reloadIfChanged();
    return memory_.value(key);
}

void JsonFileDefaults::set(std::string_view key, DefaultsValue value) {
    reloadIfChanged();
    // Only this key changes in the file: what other processes wrote, and values or keys this
    // version does not know, stay as they are.
    std::error_code error = file_.rewrite([&](const std::optional<std::string>& current) {
        Json json = current ? Json::parse(*current, nullptr, /*allow_exceptions=*/false) : Json::object();
        const bool usable = json.is_object();
        if (!usable) json = Json::object();
        json[std::string(key)] = jsonFromValue(value);
        return kelvo::UserDataFile::Rewrite{json.dump(2, ' ', false, Json::error_handler_t::replace) + "\n",
                                            !usable};
    });
    // Settings are set aside only when nothing in them could be used.
    if (auto aside = file_.takeKeptAside())
        notices_.add(keptAsideNotice(settingsName, file_.path(), *aside, false));
    if (error) {
        // Settings are not saved again by themselves: the change lasts while Kelvo runs.
        notices_.add(
            saveFailedNotice(settingsName, file_.path(), error,
                             "這項變更只在 Kelvo 這次執行期間有效，不會自動重試；修好後請再設定一次。"));
        memory_.set(key, std::move(value)); // in effect for this process until it ends
        return;
    }
    notices_.troubleOver();
    reload();
}

void JsonFileDefaults::registerDefaults(const std::map<std::string, DefaultsValue>& defaults) {
    memory_.registerDefaults(defaults);
}

} // namespace kelvo::platform
