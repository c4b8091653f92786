#include "PersonalData/LearnedData.hpp"

#include <algorithm>
#include <limits>
#include <nlohmann/json.hpp>
#include <tuple>

namespace kelvo {
namespace {

using Json = nlohmann::json;
using Kind = LearnedEntry::Kind;
using Table = LearnedData::Table;

constexpr const char* tableNames[] = {"selections", "pendingWords", "words", "transitions"};

std::string removalKey(Kind kind, std::string_view key, std::string_view value) {
    return LearnedEntry{kind, std::string(key), std::string(value), 0}.id();
}

// Whether a change made at `time` to an entry comes before the entry was removed.
bool removedAfter(const LearnedData& data, Kind kind, std::string_view key, std::string_view value,
                  std::int64_t time) {
    if (time <= data.clearedAt) return true;
    if (data.removed.empty()) return false;
    auto found = data.removed.find(removalKey(kind, key, value));
    return found != data.removed.end() && time <= found->second;
}

// Counts never wrap around, however often a word is chosen.
void increment(std::int64_t& count) {
    if (count < std::numeric_limits<std::int64_t>::max()) ++count;
}

void learnWord(LearnedData& data, const LearnedChange::WordReport& report) {
    if (auto row = data.words.find(report.reading); row != data.words.end()) {
        if (auto found = row->second.find(report.value); found != row->second.end()) {
            increment(found->second);
            return;
        }
    }
    LearnedData::Counts& pending = data.pendingWords[report.reading];
    auto found = pending.find(report.value);
    std::int64_t reports = (found == pending.end() ? 0 : found->second) + 1;
    if (reports < LearnedData::promotionThreshold) {
        pending[report.value] = reports;
    } else {
        if (found != pending.end()) pending.erase(found);
        data.words[report.reading][report.value] = reports;
    }
}

void remove(LearnedData& data, const LearnedChange::Removal& removal, std::int64_t time) {
    Table& rows = data.table(removal.kind);
    if (auto row = rows.find(removal.key); row != rows.end()) {
        row->second.erase(removal.value);
        if (row->second.empty()) rows.erase(row); // no empty rows in the file
    }
    std::int64_t& when = data.removed[removalKey(removal.kind, removal.key, removal.value)];
    when = std::max(when, time);
}

void clear(LearnedData& data, std::int64_t time) {
    const std::int64_t clearedAt = std::max(data.clearedAt, time);
    data = LearnedData{};
    data.clearedAt = clearedAt;
}

// Drops the least used entries of a table beyond `limit`; among equal counts the later keys go.
void pruneTable(Table& table, std::size_t limit) {
    using Ranked = std::tuple<std::int64_t, std::string_view, std::string_view>;
    std::vector<Ranked> ranked;
    for (const auto& [key, counts] : table)
        for (const auto& [value, count] : counts)
            ranked.emplace_back(count, key, value);
    if (ranked.size() <= limit) return;
    auto firstDropped = ranked.begin() + static_cast<std::ptrdiff_t>(limit);
    std::nth_element(ranked.begin(), firstDropped, ranked.end(), [](const Ranked& a, const Ranked& b) {
        return std::get<0>(a) != std::get<0>(b) ? std::get<0>(a) > std::get<0>(b) : a < b;
    });
    std::vector<std::pair<std::string, std::string>> dropped;
    for (auto it = firstDropped; it != ranked.end(); ++it)
        dropped.emplace_back(std::get<1>(*it), std::get<2>(*it));
    for (const auto& [key, value] : dropped) {
        auto row = table.find(key);
        row->second.erase(value);
        if (row->second.empty()) table.erase(row);
    }
}

void pruneRemovals(StringMap<std::int64_t>& removed, std::int64_t now) {
    std::erase_if(removed,
                  [&](const auto& pair) { return pair.second < now - LearnedData::removalLifetime; });
    if (removed.size() <= LearnedData::removalLimit) return;
    std::vector<std::int64_t> times;
    for (const auto& [key, time] : removed)
        times.push_back(time);
    auto keep = times.begin() + static_cast<std::ptrdiff_t>(times.size() - LearnedData::removalLimit);
    std::nth_element(times.begin(), keep, times.end());
    std::erase_if(removed, [cutoff = *keep](const auto& pair) { return pair.second < cutoff; });
}

// A count in the file: a whole number from 1 up.
std::optional<std::int64_t> countFrom(const Json& value) {
    if (value.is_number_unsigned()) {
        auto count = value.get<std::uint64_t>();
        if (count >= 1 && count <= static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()))
            return static_cast<std::int64_t>(count);
    } else if (value.is_number_integer()) {
        auto count = value.get<std::int64_t>();
        if (count >= 1) return count;
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

// Fills `table` from a JSON object of objects of counts, skipping what is not.
void readTable(const Json& json, Table& table, bool& clean) {
    if (!json.is_object()) {
        clean = false;
        return;
    }
    for (const auto& [key, row] : json.items()) {
        if (!row.is_object()) {
            clean = false;
            continue;
        }
        LearnedData::Counts& counts = table[key];
        for (const auto& [value, count] : row.items()) {
            if (auto parsed = countFrom(count))
                counts[value] = *parsed;
            else
                clean = false;
        }
    }
}

void readTimes(const Json& json, StringMap<std::int64_t>& times, bool& clean) {
    if (!json.is_object()) {
        clean = false;
        return;
    }
    for (const auto& [key, time] : json.items()) {
        if (auto parsed = countFrom(time))
            times[key] = *parsed;
        else
            clean = false;
    }
}

Json tableJson(const Table& table) {
    Json json = Json::object();
    for (const auto& [key, counts] : table) {
        Json& row = json[key] = Json::object();
        for (const auto& [value, count] : counts)
            row[value] = count;
    }
    return json;
}

} // namespace

std::string_view LearnedEntry::label(Kind kind) {
    switch (kind) {
    case Kind::selection:
        return "選字紀錄";
    case Kind::word:
        return "自動造詞";
    case Kind::transition:
        break;
    }
    return "詞語接續";
}

std::string LearnedEntry::id() const {
    std::string text(label(kind));
    text += '\t';
    text += key;
    text += '\t';
    text += value;
    return text;
}

Table& LearnedData::table(Kind kind) {
    return const_cast<Table&>(std::as_const(*this).table(kind));
}

const Table& LearnedData::table(Kind kind) const {
    switch (kind) {
    case Kind::selection:
        return selections;
    case Kind::word:
        return words;
    case Kind::transition:
        break;
    }
    return transitions;
}

std::size_t LearnedData::entryCount(const Table& of) const {
    std::size_t count = 0;
    for (const auto& [key, row] : of)
        count += row.size();
    return count;
}

void apply(LearnedData& data, const LearnedChange& change) {
    const std::int64_t time = change.time;
    std::visit(
        [&](const auto& what) {
            using What = std::decay_t<decltype(what)>;
            if constexpr (std::is_same_v<What, LearnedChange::Choice>) {
                if (!removedAfter(data, Kind::selection, what.reading, what.value, time))
                    increment(data.selections[what.reading][what.value]);
            } else if constexpr (std::is_same_v<What, LearnedChange::Sequence>) {
                for (std::size_t i = 0; i + 1 < what.values.size(); ++i) {
                    const std::string& from = what.values[i];
                    const std::string& to = what.values[i + 1];
                    if (from.empty() || to.empty() || removedAfter(data, Kind::transition, from, to, time))
                        continue;
                    increment(data.transitions[from][to]);
                }
            } else if constexpr (std::is_same_v<What, LearnedChange::WordReport>) {
                if (!removedAfter(data, Kind::word, what.reading, what.value, time)) learnWord(data, what);
            } else if constexpr (std::is_same_v<What, LearnedChange::EnglishReading>) {
                if (time > data.clearedAt)
                    increment(data.englishReadings[what.keys][what.english ? "english" : "chinese"]);
            } else if constexpr (std::is_same_v<What, LearnedChange::Removal>) {
                remove(data, what, time);
            } else {
                clear(data, time);
            }
        },
        change.what);
}

void prune(LearnedData& data, std::int64_t now) {
    pruneTable(data.selections, LearnedData::selectionLimit);
    pruneTable(data.pendingWords, LearnedData::wordLimit);
    pruneTable(data.words, LearnedData::wordLimit);
    pruneTable(data.transitions, LearnedData::transitionLimit);
    pruneTable(data.englishReadings, LearnedData::englishReadingLimit);
    pruneRemovals(data.removed, now);
}

bool clampFutureTimes(LearnedData& data, std::int64_t now, std::int64_t to) {
    bool clamped = false;
    auto clamp = [&](std::int64_t& time) {
        if (time <= now) return;
        time = to;
        clamped = true;
    };
    clamp(data.clearedAt);
    for (auto& [key, time] : data.removed)
        clamp(time);
    return clamped;
}

namespace {

bool isKnownKey(std::string_view key) {
    return std::find(std::begin(tableNames), std::end(tableNames), key) != std::end(tableNames) ||
           key == "englishReadings" || key == "removed" || key == "clearedAt";
}

} // namespace

std::optional<LearnedData> parseLearnedData(std::string_view text, bool& clean) {
    Json json = Json::parse(text, nullptr, /*allow_exceptions=*/false);
    LearnedData data;
    bool fullLayout = json.is_object() && std::all_of(std::begin(tableNames), std::end(tableNames),
                                                      [&](const char* name) { return json.contains(name); });
    if (fullLayout) {
        readTable(json["selections"], data.selections, clean);
        readTable(json["pendingWords"], data.pendingWords, clean);
        readTable(json["words"], data.words, clean);
        readTable(json["transitions"], data.transitions, clean);
        if (json.contains("englishReadings")) {
            readTable(json["englishReadings"], data.englishReadings, clean);
        }
        if (json.contains("removed")) {
            readTimes(json["removed"], data.removed, clean);
        }
        if (json.contains("clearedAt")) {
            auto time = countFrom(json["clearedAt"]);
            data.clearedAt = time.value_or(0);
            clean = clean && time.has_value();
        }
        for (const auto& [key, value] : json.items())
            if (!isKnownKey(key))
                data.newerKeys[key] = value.dump(-1, ' ', false, Json::error_handler_t::replace);
        return data;
    }
    // The older layout: the choices alone, reading -> word -> count.
    if (isTableOfCounts(json)) {
        readTable(json, data.selections, clean);
        return data;
    }
    clean = false;
    return std::nullopt;
}

std::string encodeLearnedData(const LearnedData& data) {
    Json json = Json::object();
    json["selections"] = tableJson(data.selections);
    json["pendingWords"] = tableJson(data.pendingWords);
    json["words"] = tableJson(data.words);
    json["transitions"] = tableJson(data.transitions);
    // Written only when there is something to say, so that a file without removals keeps the
    // layout every earlier version reads.
    if (!data.removed.empty()) {
        Json& removed = json["removed"] = Json::object();
        for (const auto& [key, time] : data.removed)
            removed[key] = time;
    }
    if (!data.englishReadings.empty()) json["englishReadings"] = tableJson(data.englishReadings);
    if (data.clearedAt > 0) json["clearedAt"] = data.clearedAt;
    for (const auto& [key, text] : data.newerKeys)
        if (!json.contains(key)) json[key] = Json::parse(text, nullptr, /*allow_exceptions=*/false);
    return json.dump(-1, ' ', false, Json::error_handler_t::replace);
}

} // namespace kelvo
