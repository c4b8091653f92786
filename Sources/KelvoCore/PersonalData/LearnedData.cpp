#include "PersonalData/LearnedData.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>
#include <utility>

namespace kelvo {
namespace {

using Kind = LearnedEntry::Kind;
using Table = LearnedData::Table;
using Use = LearnedData::Use;

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
void learn(Use& use, std::int64_t time) {
    if (use.count < std::numeric_limits<std::int64_t>::max()) ++use.count;
    use.time = std::max(use.time, time);
}

void learnWord(LearnedData& data, const LearnedChange::WordReport& report, std::int64_t time) {
    if (auto row = data.words.find(report.reading); row != data.words.end()) {
        if (auto found = row->second.find(report.value); found != row->second.end()) {
            learn(found->second, time);
            return;
        }
    }
    auto pending = data.pendingWords.find(report.reading);
    if (pending == data.pendingWords.end()) pending = data.pendingWords.try_emplace(report.reading).first;
    Use& reported = pending->second[report.value];
    learn(reported, time);
    if (reported.count < LearnedData::promotionThreshold) return;
    data.words[report.reading][report.value] = reported;
    pending->second.erase(report.value);
    if (pending->second.empty()) data.pendingWords.erase(pending);
}

// Erases an entry unless it was learned after `time` (in another process, met now in a merge).
void eraseOlder(Table& rows, std::string_view key, std::string_view value, std::int64_t time) {
    auto row = rows.find(key);
    if (row == rows.end()) return;
    auto found = row->second.find(value);
    if (found == row->second.end() || found->second.time > time) return;
    row->second.erase(found);
    if (row->second.empty()) rows.erase(row); // no empty rows in the file
}

void remove(LearnedData& data, const LearnedChange::Removal& removal, std::int64_t time) {
    eraseOlder(data.table(removal.kind), removal.key, removal.value, time);
    std::int64_t& when = data.removed[removalKey(removal.kind, removal.key, removal.value)];
    when = std::max(when, time);
}

// Keeps of a table what was learned after `time`.
void keepLaterThan(Table& table, std::int64_t time) {
    for (auto row = table.begin(); row != table.end();) {
        std::erase_if(row->second, [&](const auto& entry) { return entry.second.time <= time; });
        row = row->second.empty() ? table.erase(row) : std::next(row);
    }
}

void clear(LearnedData& data, std::int64_t time) {
    data.clearedAt = std::max(data.clearedAt, time);
    for (const auto& table : LearnedData::tables())
        keepLaterThan(data.*table.member, data.clearedAt);
    std::erase_if(data.removed, [&](const auto& pair) { return pair.second <= data.clearedAt; });
}

// How much an entry is worth keeping: its uses, each month unused halving their weight. Entries
// learned lately come before all others, so that a new one lives to be used again.
struct Worth {
    bool young = false;
    double weight = 0;
    std::int64_t time = 0;
    std::size_t tie = 0; // a hash: equal entries go in no order of the alphabet

    static Worth of(const Use& use, std::string_view key, std::string_view value, std::int64_t now) {
        const std::int64_t age =
            use.time > 0 ? std::max<std::int64_t>(now - use.time, 0) : LearnedData::unknownAge;
        const double weight = std::log2(static_cast<double>(use.count)) -
                              static_cast<double>(age) / static_cast<double>(LearnedData::halfLife);
        return {age < LearnedData::youngAge, weight, use.time,
                std::hash<std::string_view>{}(key)*31 + std::hash<std::string_view>{}(value)};
    }
    friend bool operator>(const Worth& a, const Worth& b) {
        return std::tie(a.young, a.weight, a.time, a.tie) > std::tie(b.young, b.weight, b.time, b.tie);
    }
};

// Drops the entries least worth keeping beyond `limit`; answers how many.
std::size_t pruneTable(Table& table, std::size_t limit, std::int64_t now) {
    using Ranked = std::tuple<Worth, std::string_view, std::string_view>;
    std::vector<Ranked> ranked;
    for (const auto& [key, row] : table)
        for (const auto& [value, use] : row)
            ranked.emplace_back(Worth::of(use, key, value, now), key, value);
    if (ranked.size() <= limit) return 0;
    auto firstDropped = ranked.begin() + static_cast<std::ptrdiff_t>(limit);
    std::nth_element(ranked.begin(), firstDropped, ranked.end(),
                     [](const Ranked& a, const Ranked& b) { return std::get<0>(a) > std::get<0>(b); });
    std::vector<std::pair<std::string, std::string>> dropped;
    for (auto it = firstDropped; it != ranked.end(); ++it)
        dropped.emplace_back(std::get<1>(*it), std::get<2>(*it));
    for (const auto& [key, value] : dropped) {
        auto row = table.find(key);
        row->second.erase(value);
        if (row->second.empty()) table.erase(row);
    }
    return dropped.size();
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

const std::array<LearnedData::TableInfo, 5>& LearnedData::tables() {
    static constexpr std::array<TableInfo, 5> all = {
        {{&LearnedData::selections, "selections", selectionLimit},
         {&LearnedData::pendingWords, "pendingWords", wordLimit},
         {&LearnedData::words, "words", wordLimit},
         {&LearnedData::transitions, "transitions", transitionLimit},
         {&LearnedData::englishReadings, "englishReadings", englishReadingLimit}}};
    return all;
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
                    learn(data.selections[what.reading][what.value], time);
            } else if constexpr (std::is_same_v<What, LearnedChange::Sequence>) {
                for (std::size_t i = 0; i + 1 < what.values.size(); ++i) {
                    const std::string& from = what.values[i];
                    const std::string& to = what.values[i + 1];
                    if (from.empty() || to.empty() || removedAfter(data, Kind::transition, from, to, time))
                        continue;
                    learn(data.transitions[from][to], time);
                }
            } else if constexpr (std::is_same_v<What, LearnedChange::WordReport>) {
                if (!removedAfter(data, Kind::word, what.reading, what.value, time))
                    learnWord(data, what, time);
            } else if constexpr (std::is_same_v<What, LearnedChange::EnglishReading>) {
                if (time > data.clearedAt)
                    learn(data.englishReadings[what.keys][what.english ? "english" : "chinese"], time);
            } else if constexpr (std::is_same_v<What, LearnedChange::Removal>) {
                remove(data, what, time);
            } else {
                clear(data, time);
            }
        },
        change.what);
}

std::size_t prune(LearnedData& data, std::int64_t now) {
    pruneRemovals(data.removed, now);
    std::size_t dropped = 0;
    for (const auto& table : LearnedData::tables())
        dropped += pruneTable(data.*table.member, table.limit, now);
    return dropped;
}

std::size_t entriesBeyondLimits(const LearnedData& data) {
    std::size_t beyond = 0;
    for (const auto& table : LearnedData::tables())
        beyond += std::max(data.entryCount(data.*table.member), table.limit) - table.limit;
    return beyond;
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
    for (const auto& table : LearnedData::tables())
        for (auto& [key, row] : data.*table.member)
            for (auto& [value, use] : row)
                clamp(use.time);
    return clamped;
}

} // namespace kelvo
