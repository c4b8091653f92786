#include "PersonalData/UserPhraseStore.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <nlohmann/json.hpp>

namespace kelvo {
namespace {

using Json = nlohmann::json;

constexpr const char* tableNames[] = {"selections", "pendingWords", "words", "transitions"};

// Counts never wrap around, however often a word is chosen.
void increment(std::int64_t& count) {
    if (count < std::numeric_limits<std::int64_t>::max()) ++count;
}

const std::int64_t* countOf(const UserPhraseStore::Table& table, std::string_view key,
                            std::string_view value) {
    auto row = table.find(key);
    if (row == table.end()) return nullptr;
    auto found = row->second.find(value);
    return found == row->second.end() ? nullptr : &found->second;
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
void readTable(const Json& json, UserPhraseStore::Table& table, bool& clean) {
    if (!json.is_object()) {
        clean = false;
        return;
    }
    for (const auto& [key, row] : json.items()) {
        if (!row.is_object()) {
            clean = false;
            continue;
        }
        UserPhraseStore::Counts& counts = table[key];
        for (const auto& [value, count] : row.items()) {
            if (auto parsed = countFrom(count))
                counts[value] = *parsed;
            else
                clean = false;
        }
    }
}

Json tableJson(const UserPhraseStore::Table& table) {
    Json json = Json::object();
    for (const auto& [key, counts] : table) {
        Json& row = json[key] = Json::object();
        for (const auto& [value, count] : counts)
            row[value] = count;
    }
    return json;
}

} // namespace

std::string_view UserPhraseStore::label(Entry::Kind kind) {
    switch (kind) {
    case Entry::Kind::selection:
        return "選字紀錄";
    case Entry::Kind::word:
        return "自動造詞";
    case Entry::Kind::transition:
        return "詞語接續";
    }
    return {};
}

std::string UserPhraseStore::Entry::id() const {
    return std::string(label(kind)) + '\t' + key + '\t' + value;
}

double UserPhraseStore::TransitionRow::bonus(std::string_view value) const {
    if (!counts_) return 0.0;
    auto found = counts_->find(value);
    if (found == counts_->end() || found->second < 1) return 0.0;
    return std::log(static_cast<double>(found->second) + 1.0);
}

UserPhraseStore::UserPhraseStore(std::optional<std::filesystem::path> fileURL)
    : fileURL_(std::move(fileURL)) {
    if (!fileURL_) return;
    file_.emplace(*fileURL_);
    if (auto parsed = file_->load(&parse)) data_ = std::move(*parsed);
}

std::optional<UserPhraseStore::StoredData> UserPhraseStore::parse(std::string_view text, bool& clean) {
    Json json = Json::parse(text, nullptr, /*allow_exceptions=*/false);
    StoredData data;
    bool fullLayout = json.is_object() && std::all_of(std::begin(tableNames), std::end(tableNames),
                                                      [&](const char* name) { return json.contains(name); });
    if (fullLayout) {
        readTable(json["selections"], data.selections, clean);
        readTable(json["pendingWords"], data.pendingWords, clean);
        readTable(json["words"], data.words, clean);
        readTable(json["transitions"], data.transitions, clean);
        if (json.size() != 4) clean = false;
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

std::string UserPhraseStore::encoded(const StoredData& data) {
    Json json = Json::object();
    json["selections"] = tableJson(data.selections);
    json["pendingWords"] = tableJson(data.pendingWords);
    json["words"] = tableJson(data.words);
    json["transitions"] = tableJson(data.transitions);
    return json.dump(-1, ' ', false, Json::error_handler_t::replace);
}

void UserPhraseStore::save() {
    if (!file_) return;
    // A failed write leaves the old file and keeps the tables in memory; the next save writes all.
    (void)file_->save(encoded(data_));
}

std::optional<std::filesystem::path> UserPhraseStore::keptAside() const {
    return file_ ? file_->keptAside() : std::nullopt;
}

void UserPhraseStore::bump(std::string_view reading, std::string_view value) {
    increment(data_.selections[std::string(reading)][std::string(value)]);
    save();
}

void UserPhraseStore::noteCommit(const std::vector<std::string>& values) {
    if (values.size() < 2) return;
    for (std::size_t i = 0; i + 1 < values.size(); ++i) {
        if (values[i].empty() || values[i + 1].empty()) continue;
        increment(data_.transitions[values[i]][values[i + 1]]);
    }
    pruneTransitionsIfNeeded();
    save();
}

void UserPhraseStore::pruneTransitionsIfNeeded() {
    if (transitionCount() <= transitionLimit) return;
    for (auto row = data_.transitions.begin(); row != data_.transitions.end();) {
        std::erase_if(row->second, [](const auto& pair) { return pair.second <= 1; });
        row = row->second.empty() ? data_.transitions.erase(row) : std::next(row);
    }
}

void UserPhraseStore::noteWordCandidate(std::string_view reading, std::string_view value) {
    std::string key(reading), word(value);
    if (auto row = data_.words.find(key); row != data_.words.end()) {
        if (auto found = row->second.find(word); found != row->second.end()) {
            increment(found->second);
            save();
            return;
        }
    }
    Counts& pending = data_.pendingWords[key];
    auto found = pending.find(word);
    std::int64_t reports = (found == pending.end() ? 0 : found->second) + 1;
    if (reports < promotionThreshold) {
        pending[word] = reports;
    } else {
        if (found != pending.end()) pending.erase(found);
        data_.words[key][word] = reports;
    }
    save();
}

double UserPhraseStore::bonus(std::string_view reading, std::string_view value) const {
    const std::int64_t* count = countOf(data_.selections, reading, value);
    if (!count || *count < 1) return 0.0;
    return 2.0 * std::log(static_cast<double>(*count) + 1.0);
}

std::vector<Unigram> UserPhraseStore::userWords(std::string_view reading) const {
    std::vector<Unigram> result;
    auto row = data_.words.find(reading);
    if (row == data_.words.end()) return result;
    for (const auto& [word, count] : row->second)
        result.push_back(Unigram{word, userWordScore});
    return result;
}

UserPhraseStore::TransitionRow UserPhraseStore::transitionsFrom(std::string_view from) const {
    auto row = data_.transitions.find(from);
    return TransitionRow(row == data_.transitions.end() ? nullptr : &row->second);
}

LearnedModel::TransitionScorer UserPhraseStore::transitionsAfter(std::string_view previous) const {
    TransitionRow row = transitionsFrom(previous);
    if (!row) return {};
    // The row points into the store, which outlives the walk that asks for it.
    return [row](std::string_view value) { return row.bonus(value); };
}

double UserPhraseStore::transitionBonus(std::string_view from, std::string_view to) const {
    return transitionsFrom(from).bonus(to);
}

std::size_t UserPhraseStore::transitionCount() const {
    std::size_t count = 0;
    for (const auto& [from, row] : data_.transitions)
        count += row.size();
    return count;
}

UserPhraseStore::Table& UserPhraseStore::table(Entry::Kind kind) {
    return const_cast<Table&>(std::as_const(*this).table(kind));
}

const UserPhraseStore::Table& UserPhraseStore::table(Entry::Kind kind) const {
    switch (kind) {
    case Entry::Kind::selection:
        return data_.selections;
    case Entry::Kind::word:
        return data_.words;
    case Entry::Kind::transition:
        break;
    }
    return data_.transitions;
}

std::vector<UserPhraseStore::Entry> UserPhraseStore::entries(Entry::Kind kind) const {
    std::vector<Entry> rows;
    for (const auto& [key, counts] : table(kind))
        for (const auto& [value, count] : counts)
            rows.push_back(Entry{kind, key, value, count});
    std::sort(rows.begin(), rows.end(), [](const Entry& a, const Entry& b) {
        if (a.count != b.count) return a.count > b.count;
        if (a.key != b.key) return a.key < b.key;
        return a.value < b.value;
    });
    return rows;
}

void UserPhraseStore::remove(const Entry& entry) {
    Table& rows = table(entry.kind);
    if (auto row = rows.find(entry.key); row != rows.end()) row->second.erase(entry.value);
    save();
}

void UserPhraseStore::reset() {
    data_ = StoredData{};
    save();
}

} // namespace kelvo
