#include "PersonalData/LearnedDataFormat.hpp"

#include <algorithm>
#include <limits>
#include <nlohmann/json.hpp>

namespace kelvo {
namespace {

using Json = nlohmann::json;
using Table = LearnedData::Table;

// The first tables of `LearnedData::tables()` make the full layout.
constexpr std::size_t layoutTables = 4;

// A count or a time in the file: a whole number from 1 up.
std::optional<std::int64_t> positiveFrom(const Json& value) {
    if (value.is_number_unsigned()) {
        auto number = value.get<std::uint64_t>();
        if (number >= 1 && number <= static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()))
            return static_cast<std::int64_t>(number);
    } else if (value.is_number_integer()) {
        auto number = value.get<std::int64_t>();
        if (number >= 1) return number;
    }
    return std::nullopt;
}

bool isTableOfCounts(const Json& value) {
    if (!value.is_object()) return false;
    return std::all_of(value.begin(), value.end(), [](const Json& row) {
        return row.is_object() &&
               std::all_of(row.begin(), row.end(), [](const Json& count) { return count.is_number(); });
    });
}

// Calls `use` with each key, value and number of a JSON object of objects of numbers, skipping
// (and telling through `clean`) what is not.
template <class Use> void readEntries(const Json& json, bool& clean, Use use) {
    if (!json.is_object()) {
        clean = false;
        return;
    }
    for (const auto& [key, row] : json.items()) {
        if (!row.is_object()) {
            clean = false;
            continue;
        }
        for (const auto& [value, number] : row.items()) {
            if (auto parsed = positiveFrom(number))
                use(key, value, *parsed);
            else
                clean = false;
        }
    }
}

void readTable(const Json& json, Table& table, bool& clean) {
    readEntries(json, clean, [&](const std::string& key, const std::string& value, std::int64_t count) {
        table[key][value].count = count;
    });
}

// Times of entries the table no longer holds (an older version removed them) are dropped.
void readTimes(const Json& json, Table& table, bool& clean) {
    readEntries(json, clean, [&](const std::string& key, const std::string& value, std::int64_t time) {
        auto row = table.find(key);
        if (row == table.end()) return;
        if (auto found = row->second.find(value); found != row->second.end()) found->second.time = time;
    });
}

void readRemovals(const Json& json, StringMap<std::int64_t>& removed, bool& clean) {
    if (!json.is_object()) {
        clean = false;
        return;
    }
    for (const auto& [key, time] : json.items()) {
        if (auto parsed = positiveFrom(time))
            removed[key] = *parsed;
        else
            clean = false;
    }
}

template <class Number> Json tableJson(const Table& table, Number number) {
    Json json = Json::object();
    for (const auto& [key, row] : table) {
        Json entries = Json::object();
        for (const auto& [value, use] : row)
            if (number(use) > 0) entries[value] = number(use);
        if (!entries.empty()) json[key] = std::move(entries);
    }
    return json;
}

bool isKnownKey(std::string_view key) {
    const auto& tables = LearnedData::tables();
    return std::any_of(tables.begin(), tables.end(), [&](const auto& table) { return table.name == key; }) ||
           key == "learnedAt" || key == "removed" || key == "clearedAt";
}

} // namespace

std::optional<LearnedData> parseLearnedData(std::string_view text, bool& clean) {
    Json json = Json::parse(text, nullptr, /*allow_exceptions=*/false);
    LearnedData data;
    const auto& tables = LearnedData::tables();
    bool fullLayout = json.is_object() &&
                      std::all_of(tables.begin(), tables.begin() + layoutTables,
                                  [&](const auto& table) { return json.contains(std::string(table.name)); });
    if (!fullLayout) {
        // The older layout: the choices alone, reading -> word -> count.
        if (!isTableOfCounts(json)) {
            clean = false;
            return std::nullopt;
        }
        readTable(json, data.selections, clean);
        return data;
    }
    for (const auto& table : tables)
        if (const std::string name(table.name); json.contains(name))
            readTable(json[name], data.*table.member, clean);
    if (json.contains("learnedAt")) {
        const Json& times = json["learnedAt"];
        clean = clean && times.is_object();
        for (const auto& table : tables)
            if (const std::string name(table.name); times.is_object() && times.contains(name))
                readTimes(times[name], data.*table.member, clean);
    }
    if (json.contains("removed")) readRemovals(json["removed"], data.removed, clean);
    if (json.contains("clearedAt")) {
        auto time = positiveFrom(json["clearedAt"]);
        data.clearedAt = time.value_or(0);
        clean = clean && time.has_value();
    }
    for (const auto& [key, value] : json.items())
        if (!isKnownKey(key))
            data.newerKeys[key] = value.dump(-1, ' ', false, Json::error_handler_t::replace);
    return data;
}

std::string encodeLearnedData(const LearnedData& data) {
    Json json = Json::object();
    Json times = Json::object();
    for (std::size_t i = 0; i < LearnedData::tables().size(); ++i) {
        const std::string name(LearnedData::tables()[i].name);
        const Table& table = data.*LearnedData::tables()[i].member;
        // Only tables with something to say beyond the four every version writes.
        if (i < layoutTables || !table.empty())
            json[name] = tableJson(table, [](const LearnedData::Use& use) { return use.count; });
        Json tableTimes = tableJson(table, [](const LearnedData::Use& use) { return use.time; });
        if (!tableTimes.empty()) times[name] = std::move(tableTimes);
    }
    if (!times.empty()) json["learnedAt"] = std::move(times);
    // Written only when there is something to say, so that a file without removals keeps the
    // layout every earlier version reads.
    if (!data.removed.empty()) {
        Json& removed = json["removed"] = Json::object();
        for (const auto& [key, time] : data.removed)
            removed[key] = time;
    }
    if (data.clearedAt > 0) json["clearedAt"] = data.clearedAt;
    for (const auto& [key, text] : data.newerKeys)
        if (!json.contains(key)) json[key] = Json::parse(text, nullptr, /*allow_exceptions=*/false);
    return json.dump(-1, ' ', false, Json::error_handler_t::replace);
}

} // namespace kelvo
