#include "PersonalData/CustomTextStore.hpp"

#include "Text/Characters.hpp"

#include <algorithm>
#include <nlohmann/json.hpp>

namespace kelvo {
namespace {

using Json = nlohmann::json;

constexpr std::string_view dataName = "自訂文字";

bool isBlank(std::string_view text) {
    auto characters = characterViews(text);
    return std::all_of(characters.begin(), characters.end(),
                       [](std::string_view c) { return isWhitespace(c); });
}

class StoreErrorCategory : public std::error_category {
public:
    const char* name() const noexcept override { return "kelvo.customtexts"; }
    std::string message(int value) const override {
        switch (static_cast<CustomTextStore::StoreError>(value)) {
        case CustomTextStore::StoreError::invalidTrigger:
            return "invalid trigger";
        case CustomTextStore::StoreError::emptyText:
            return "empty text";
        }
        return "unknown error";
    }
};

} // namespace

const std::error_category& customTextStoreCategory() {
    static const StoreErrorCategory category;
    return category;
}

std::error_code make_error_code(CustomTextStore::StoreError error) {
    return {static_cast<int>(error), customTextStoreCategory()};
}

bool CustomTextStore::validTrigger(std::string_view trigger) {
    auto characters = characterViews(trigger);
    if (characters.empty() || characters.size() > 32) return false;
    return std::all_of(characters.begin(), characters.end(), [](std::string_view c) {
        return isASCIILetter(c) || isASCIIDigit(c) || c == "_" || c == "-";
    });
}

CustomTextStore::CustomTextStore(std::optional<std::filesystem::path> fileURL)
    : fileURL_(std::move(fileURL)) {
    if (!fileURL_) return;
    file_.emplace(*fileURL_);
    if (auto loaded = load(file_->read())) values_ = std::move(*loaded);
    worker_ = std::make_unique<StoreWorker>(*fileURL_,
                                            StoreWorker::Tasks{[] { return true; }, [this] { reloadFile(); },
                                                               [this] {
                                                                   std::lock_guard lock(fileMutex_);
                                                                   file_->removeLeftovers();
                                                               }});
}

CustomTextStore::~CustomTextStore() = default;

std::optional<CustomTextStore::Values> CustomTextStore::load(const UserDataFile::Contents& contents) {
    if (contents.error) notices_.add(unreadableNotice(dataName, *fileURL_, contents.error));
    if (!contents.text) return std::nullopt;
    bool clean = true;
    return parse(*contents.text, clean);
}

void CustomTextStore::reloadFile() {
    std::lock_guard fileLock(fileMutex_);
    if (!file_->changedSinceSeen()) return; // this process wrote it
    auto loaded = load(file_->read());
    if (!loaded) return;
    std::lock_guard lock(mutex_);
    values_ = std::move(*loaded);
}

std::optional<CustomTextStore::Values> CustomTextStore::parse(std::string_view text, bool& clean) {
    Json json = Json::parse(text, nullptr, /*allow_exceptions=*/false);
    auto isEntry = [](const Json& item) {
        return item.is_object() && item.contains("trigger") && item["trigger"].is_string() &&
               item.contains("text") && item["text"].is_string();
    };
    // One malformed entry makes the whole file unusable, as a decoder of the list would find it.
    if (!json.is_array() || !std::all_of(json.begin(), json.end(), isEntry)) {
        clean = false;
        return std::nullopt;
    }
    Values values;
    for (const Json& item : json) {
        auto trigger = item["trigger"].get<std::string>();
        auto expansion = item["text"].get<std::string>();
        if (!validTrigger(trigger) || expansion.empty()) {
            clean = false;
            continue;
        }
        values[trigger] = expansion;
    }
    return values;
}

std::string CustomTextStore::encoded(const Values& values) {
    Json json = Json::array();
    for (const auto& [trigger, text] : values)
        json.push_back(Json{{"text", text}, {"trigger", trigger}});
    return json.dump(-1, ' ', false, Json::error_handler_t::replace);
}

std::vector<CustomTextStore::Entry> CustomTextStore::entries() const {
    std::lock_guard lock(mutex_);
    std::vector<Entry> result;
    for (const auto& [trigger, text] : values_)
        result.push_back(Entry{trigger, text});
    return result;
}

std::optional<std::string> CustomTextStore::expansion(std::string_view trigger) const {
    std::lock_guard lock(mutex_);
    auto found = values_.find(trigger);
    if (found == values_.end()) return std::nullopt;
    return found->second;
}

std::error_code CustomTextStore::set(std::string_view trigger, std::string_view text) {
    if (!validTrigger(trigger)) return StoreError::invalidTrigger;
    if (isBlank(text)) return StoreError::emptyText;
    return update([&](Values& values) { values[std::string(trigger)] = std::string(text); });
}

std::error_code CustomTextStore::remove(std::string_view trigger) {
    return update([&](Values& values) {
        if (auto found = values.find(trigger); found != values.end()) values.erase(found);
    });
}

std::error_code CustomTextStore::update(const std::function<void(Values&)>& change) {
    if (!file_) {
        std::lock_guard lock(mutex_);
        change(values_);
        return {};
    }
    std::lock_guard fileLock(fileMutex_);
    Values merged;
    bool anythingUsed = true;
    std::error_code error = file_->rewrite([&](const std::optional<std::string>& current) {
        bool clean = true;
        std::optional<Values> read = current ? parse(*current, clean) : std::nullopt;
        anythingUsed = read.has_value();
        merged = read.value_or(Values{});
        change(merged);
        return UserDataFile::Rewrite{encoded(merged), !clean};
    });
    if (auto aside = file_->takeKeptAside())
        notices_.add(keptAsideNotice(dataName, *fileURL_, *aside, anythingUsed));
    if (error) return error;
    notices_.troubleOver();
    std::lock_guard lock(mutex_);
    values_ = std::move(merged);
    return {};
}

} // namespace kelvo
