#pragma once

#include "Text/StringMap.hpp"

#include <array>
#include <cstdint>
#include <map>
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

// Everything the learned-data file holds. Each entry keeps when it was last learned, and each
// removal when it was made, so that wherever a removal and a learn of the same entry meet, the
// later one wins.
struct LearnedData {
    struct Use {
        std::int64_t count = 0;
        std::int64_t time = 0; // last learned, milliseconds since 1970; 0 when not known
        friend bool operator==(const Use&, const Use&) = default;
    };
    using Row = StringMap<Use>;
    using Table = StringMap<Row>;

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

    // The most entries each table keeps. The least used and longest unused go first, but never
    // an entry learned within `youngAge`, while older ones remain: it must have the chance to be
    // used again.
    static constexpr std::size_t selectionLimit = 50000;
    static constexpr std::size_t wordLimit = 20000;
    static constexpr std::size_t transitionLimit = 100000;
    static constexpr std::size_t englishReadingLimit = 20000;
    static constexpr std::size_t removalLimit = 10000;
    static constexpr std::int64_t removalLifetime = 30LL * 24 * 3600 * 1000;
    static constexpr std::int64_t promotionThreshold = 2;
    static constexpr std::int64_t day = 24LL * 3600 * 1000;
    static constexpr std::int64_t youngAge = 14 * day;
    static constexpr std::int64_t halfLife = 30 * day;   // each month unused halves a count's weight
    static constexpr std::int64_t unknownAge = 90 * day; // of an entry an older version learned

    // A table, its name in the file and the most entries it keeps.
    struct TableInfo {
        Table LearnedData::*member;
        std::string_view name;
        std::size_t limit;
    };
    // Every table: selections, pendingWords, words, transitions (the layout every version reads),
    // then englishReadings.
    static const std::array<TableInfo, 5>& tables();
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
// Keeps each table within its limit and forgets removals too old to matter; answers how many
// entries went.
std::size_t prune(LearnedData& data, std::int64_t now);
// How many entries the tables hold beyond their limits.
std::size_t entriesBeyondLimits(const LearnedData& data);
// Moves times later than `now` (a clearing or removal made with the clock ahead, or on another
// machine) back to `to`, so that they do not drop every change that follows. Answers whether any
// was.
bool clampFutureTimes(LearnedData& data, std::int64_t now, std::int64_t to);

} // namespace kelvo
