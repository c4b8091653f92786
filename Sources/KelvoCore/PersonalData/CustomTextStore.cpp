#include "PersonalData/CustomTextStore.hpp"

#include "Text/Characters.hpp"

#include <algorithm>
#include <nlohmann/json.hpp>

namespace kelvo {
namespace {

using Json = nlohmann::json;

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
    if (auto parsed = file_->load(&parse)) values_ = std::move(*parsed);
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
    std::vector<Entry> result;
    for (const auto& [trigger, text] : values_)
        result.push_back(Entry{trigger, text});
    return result;
}

std::optional<std::string> CustomTextStore::expansion(std::string_view trigger) const {
    auto found = values_.find(trigger);
    if (found == values_.end()) return std::nullopt;
    return found->second;
}

std::error_code CustomTextStore::set(std::string_view trigger, std::string_view text) {
    if (!validTrigger(trigger)) return StoreError::invalidTrigger;
    if (isBlank(text)) return StoreError::emptyText;
    Values changed = values_;
    changed[std::string(trigger)] = std::string(text);
    return adopt(std::move(changed));
}

std::error_code CustomTextStore::remove(std::string_view trigger) {
    Values changed = values_;
    if (auto found = changed.find(trigger); found != changed.end()) changed.erase(found);
    return adopt(std::move(changed));
}

std::error_code CustomTextStore::adopt(Values changed) {
    if (file_)
        if (std::error_code error = file_->save(encoded(changed))) return error;
    values_ = std::move(changed);
    return {};
}

std::optional<std::filesystem::path> CustomTextStore::keptAside() const {
    return file_ ? file_->keptAside() : std::nullopt;
}

} // namespace kelvo
