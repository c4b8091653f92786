#pragma once

#include "Dictionary/LearnedModel.hpp"
#include "PersonalData/UserDataFile.hpp"
#include "Text/StringMap.hpp"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvo {

// What Kelvo has learned from the user: the words chosen for readings, the words committed one
// after another, and the words assembled by hand, which become learned words once they recur.
// Every change is written through to the file at once; failures to write are not reported and the
// tables stay in memory. The decoder reads it as its learned model.
class UserPhraseStore : public LearnedModel {
public:
    using Counts = StringMap<std::int64_t>;
    using Table = StringMap<Counts>;

    struct StoredData {
        Table selections;   // reading -> word -> times chosen
        Table pendingWords; // reading -> hand-assembled word -> times reported before promotion
        Table words;        // reading -> learned word -> times reported
        Table transitions;  // word -> following word -> times committed in that order

        friend bool operator==(const StoredData&, const StoredData&) = default;
    };

    // One row for display.
    struct Entry {
        enum class Kind { selection, word, transition };
        Kind kind = Kind::selection;
        std::string key;
        std::string value;
        std::int64_t count = 0;

        // The kind's label, a tab, the key, a tab, the value.
        std::string id() const;
        friend bool operator==(const Entry&, const Entry&) = default;
    };

    // The words that may follow one word, fetched once so that each following word costs one lookup.
    class TransitionRow {
    public:
        explicit TransitionRow(const Counts* counts = nullptr) : counts_(counts) {}
        explicit operator bool() const { return counts_ != nullptr; }
        double bonus(std::string_view value) const;

    private:
        const Counts* counts_;
    };

    static constexpr double userWordScore = -8.0;
    static constexpr std::int64_t promotionThreshold = 2;
    static constexpr std::size_t transitionLimit = 20000;

    // The label shown for each kind of entry.
    static std::string_view label(Entry::Kind kind);

    // Reads the file when a path is given; without one the store lives in memory only.
    explicit UserPhraseStore(std::optional<std::filesystem::path> fileURL = std::nullopt);

    void bump(std::string_view reading, std::string_view value);
    void noteCommit(const std::vector<std::string>& values);
    void noteWordCandidate(std::string_view reading, std::string_view value);

    double bonus(std::string_view reading, std::string_view value) const override;
    std::vector<Unigram> userWords(std::string_view reading) const;
    std::vector<Unigram> extraWords(std::string_view reading) const override { return userWords(reading); }
    TransitionScorer transitionsAfter(std::string_view previous) const override;
    double transitionBonus(std::string_view from, std::string_view to) const;
    TransitionRow transitionsFrom(std::string_view from) const;
    std::size_t transitionCount() const;

    std::vector<Entry> entries(Entry::Kind kind) const;
    void remove(const Entry& entry);
    void reset();

    const StoredData& data() const { return data_; }
    const std::optional<std::filesystem::path>& fileURL() const { return fileURL_; }
    // Where an unusable file was moved before it was replaced, if that happened.
    std::optional<std::filesystem::path> keptAside() const;

    // The file's JSON for some tables, and the tables a file's JSON gives. `parse` answers no value
    // for text of neither known layout; `clean` is set false when anything had to be skipped.
    static std::string encoded(const StoredData& data);
    static std::optional<StoredData> parse(std::string_view json, bool& clean);

private:
    void save();
    void pruneTransitionsIfNeeded();
    Table& table(Entry::Kind kind);
    const Table& table(Entry::Kind kind) const;

    StoredData data_;
    std::optional<std::filesystem::path> fileURL_;
    std::optional<UserDataFile> file_;
};

} // namespace kelvo
