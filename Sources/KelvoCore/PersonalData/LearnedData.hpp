#pragma once

#include "Text/StringMap.hpp"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace kelvo {

// One learned entry, as the user sees it listed.
struct LearnedEntry {
    enum class Kind { selection, word, transition };
    Kind kind = Kind::selection;
    std::string key;
    std::string value;
    std::int64_t count = 0;

    // The label shown for each kind.
    static std::string_view label(Kind kind);
    // The kind's label, a tab, the key, a tab, the value.
    std::string id() const;
    friend bool operator==(const LearnedEntry&, const LearnedEntry&) = default;
};

// Everything the learned-data file holds. Removals are remembered with their time, so that a
// change made elsewhere before the removal cannot bring the entry back when the two are merged.
struct LearnedData {
    using Counts = StringMap<std::int64_t>;
    using Table = StringMap<Counts>;

    Table selections;                // reading -> word -> times chosen
    Table pendingWords;              // reading -> hand-assembled word -> times reported before promotion
    Table words;                     // reading -> learned word -> times reported
    Table transitions;               // word -> following word -> times committed in that order
    Table englishReadings;           // keys typed as a word -> "english" or "chinese" -> times so
    StringMap<std::int64_t> removed; // removal key -> when (milliseconds since 1970)
    std::int64_t clearedAt = 0;      // when everything was last erased
    // Top-level keys this version does not know (a newer version's, beside it), as their JSON
    // text: kept as they are.
    std::map<std::string, std::string> newerKeys;

    // The most entries each table keeps; the least used go first.
    static constexpr std::size_t selectionLimit = 50000;
    static constexpr std::size_t wordLimit = 20000;
    static constexpr std::size_t transitionLimit = 100000;
    static constexpr std::size_t englishReadingLimit = 20000;
    static constexpr std::size_t removalLimit = 10000;
    static constexpr std::int64_t removalLifetime = 30LL * 24 * 3600 * 1000;
    static constexpr std::int64_t promotionThreshold = 2;

    Table& table(LearnedEntry::Kind kind);
    const Table& table(LearnedEntry::Kind kind) const;
    std::size_t entryCount(const Table& of) const;

    friend bool operator==(const LearnedData&, const LearnedData&) = default;
};

// What the user did, as a change to learned data; replaying the same changes over another
// process's data merges the two.
struct LearnedChange {
    struct Choice {
        std::string reading, value;
    };
    struct Sequence {
        std::vector<std::string> values;
    };
    struct WordReport {
        std::string reading, value;
    };
    struct Removal {
        LearnedEntry::Kind kind;
        std::string key, value;
    };
    struct Clearing {};
    // Keys that could be English committed as English, or as Chinese where English was offered.
    struct EnglishReading {
        std::string keys;
        bool english = true;
    };

    std::variant<Choice, Sequence, WordReport, Removal, Clearing, EnglishReading> what;
    std::int64_t time = 0; // milliseconds since 1970
};

void apply(LearnedData& data, const LearnedChange& change);
// Keeps each table within its limit and forgets removals too old to matter.
void prune(LearnedData& data, std::int64_t now);
// Moves times later than `now` (a clearing or removal made with the clock ahead, or on another
// machine) back to `to`, so that they do not drop every change that follows. Answers whether any
// was.
bool clampFutureTimes(LearnedData& data, std::int64_t now, std::int64_t to);

// The file's JSON for some data, and the data a file's JSON gives. `parseLearnedData` answers no
// value for text of neither known layout; `clean` is set false when anything had to be skipped.
std::string encodeLearnedData(const LearnedData& data);
std::optional<LearnedData> parseLearnedData(std::string_view json, bool& clean);

} // namespace kelvo
