#pragma once

#include "Dictionary/LearnedModel.hpp"
#include "PersonalData/LearnedData.hpp"
#include "PersonalData/StoreNotice.hpp"
#include "PersonalData/StoreWorker.hpp"
#include "PersonalData/UserDataFile.hpp"

#include <atomic>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace kelvo {

// What Kelvo has learned from the user: the words chosen for readings, the words committed one
// after another, the words assembled by hand, which become learned words once they recur, and
// which keys the user commits as English or as Chinese. The decoder and the reading of English
// keys take it as their learned model.
//
// The tables live in memory and change at once; each change is also kept as a change, which a
// worker thread merges into the file on disk shortly after (under the file's lock, over what
// other processes wrote meanwhile), so no key waits for a disk and no writer undoes another's
// change. The worker reads the file at the start, and again when another process replaced it.
// What it read or merged reaches the tables only at `refresh` or the next change, on the thread
// that owns the store; the tables replaced there are freed by the worker, never on a key.
class UserPhraseStore : public LearnedModel {
public:
    using Row = LearnedData::Row;
    using Table = LearnedData::Table;
    using StoredData = LearnedData;
    using Entry = LearnedEntry;

    // The words that may follow one word, fetched once so that each following word costs one lookup.
    class TransitionRow {
    public:
        TransitionRow() = default;
        TransitionRow(const Row* row, double total) : row_(row), total_(total) {}
        explicit operator bool() const { return row_ != nullptr; }
        Transition pair(std::string_view value) const;
        double bonus(std::string_view value) const { return pair(value).bonus; }

    private:
        const Row* row_ = nullptr;
        double total_ = 0.0; // every count of the row
    };

    static constexpr double userWordScore = -8.0;

    // The label shown for each kind of entry.
    static std::string_view label(Entry::Kind kind);

    // A file larger than this is refused (and kept as it is): a full file is a few megabytes.
    static constexpr std::size_t largestFile = 32 << 20;
    // A file that holds more entries than this beyond the limits (one from a version with larger
    // limits, say) is copied aside before a save drops them.
    static constexpr std::size_t largestQuietPrune = 100;

    // Reads the file, on the worker, when a path is given; without one the store lives in memory
    // only.
    explicit UserPhraseStore(std::optional<std::filesystem::path> fileURL = std::nullopt);
    // Saves what is still unsaved before it goes.
    ~UserPhraseStore() override;
    UserPhraseStore(const UserPhraseStore&) = delete;
    UserPhraseStore& operator=(const UserPhraseStore&) = delete;

    void bump(std::string_view reading, std::string_view value);
    void noteCommit(const std::vector<std::string>& values);
    void noteWordCandidate(std::string_view reading, std::string_view value);
    // Keys that could be read as English were committed as English, or as Chinese instead.
    void noteEnglishReading(std::string_view keys, bool english);
    void remove(const Entry& entry);
    void reset();

    double bonus(std::string_view reading, std::string_view value) const override;
    // The bonus of a word chosen `count` times: 2 ln(count + 1).
    static double choiceBonus(std::int64_t count) { return 2.0 * std::log(static_cast<double>(count) + 1.0); }
    std::vector<Unigram> userWords(std::string_view reading) const;
    std::vector<Unigram> extraWords(std::string_view reading) const override { return userWords(reading); }
    std::optional<double> wordsBeginningWith(std::string_view syllable) const override;
    TransitionScorer transitionsAfter(std::string_view previous) const override;
    bool knowsEnglishWord(std::string_view keys) const override;
    double englishAdjustment(std::string_view keys) const override;
    double transitionBonus(std::string_view from, std::string_view to) const;
    TransitionRow transitionsFrom(std::string_view from) const;
    std::size_t transitionCount() const;
    std::vector<Entry> entries(Entry::Kind kind) const;

    // Takes in what the worker merged or read since; answers whether the tables changed. Call it
    // between keys: it may replace the tables the other calls read.
    bool refresh();
    // Save without waiting for a pause (the input method is being left).
    void saveSoon();
    // Returns once the file was read and everything changed so far was written or its save
    // failed, with what was read in the tables. On the owner's thread, as `refresh`.
    void flush();
    // Saves what is unsaved as the process ends: false when that failed (the notice then says what
    // was not saved, and promises no retry).
    bool finish();
    // Changes whenever the tables do, so that a view can tell when to list them again; no other
    // store of the process ever has the same version.
    std::uint64_t version() const { return version_; }
    std::optional<std::uint64_t> revision() const override { return version_; }
    // What the user should hear of the file since the last call, each thing once.
    std::vector<StoreNotice> takeNotices() { return notices_.take(); }

    const StoredData& data() const { return data_; }
    // Called after each step of a save (tests), on the worker.
    void setSaveStepHook(UserDataFile::StepHook hook);
    // Tables `refresh` replaced that the worker has not freed yet.
    std::size_t tablesAwaitingRelease();
    const std::optional<std::filesystem::path>& fileURL() const { return fileURL_; }

private:
    struct Merged {
        LearnedData data;
        std::uint64_t through = 0; // the last change it includes
    };

    void record(decltype(LearnedChange::what) what);
    std::int64_t nextTime();
    bool saveChanges();
    void readFile();
    void reloadFile();
    void noteFutureTimes(LearnedData& data, std::int64_t earliestChange);
    std::optional<LearnedData> load(const UserDataFile::Contents& contents);

    double rowTotal(const Row& row) const;

    LearnedData data_; // the owner's thread only
    std::optional<std::filesystem::path> fileURL_;
    std::optional<UserDataFile> file_; // the worker's thread only, once it runs
    std::int64_t lastTime_ = 0;
    std::uint64_t version_ = 0;
    // The first syllables of the learned words, made again on the first question after the words
    // change (seldom: commits change the other tables): the key lattice asks for every syllable the
    // dictionary lacks, and the words may be thousands.
    std::uint64_t wordsVersion_ = 0;
    mutable std::unordered_set<std::string, StringHash, std::equal_to<>> firstSyllables_;
    mutable std::optional<std::uint64_t> firstSyllablesVersion_;
    // Each transition row's total count, for the tables of `rowTotalsVersion_`.
    mutable std::unordered_map<const Row*, double> rowTotals_;
    mutable std::uint64_t rowTotalsVersion_ = 0;
    StoreNotices notices_;
    std::atomic<bool> finishing_ = false; // set as the process ends: a failed save is not retried

    std::mutex mutex_; // guards what follows, shared with the worker
    std::vector<std::pair<std::uint64_t, LearnedChange>> unsaved_;
    std::uint64_t lastChange_ = 0;
    std::uint64_t savedThrough_ = 0;
    std::optional<Merged> incoming_;
    std::vector<LearnedData> retired_; // the tables `refresh` replaced, freed by the worker
    UserDataFile::StepHook stepHook_;

    std::unique_ptr<StoreWorker> worker_; // last: it stops before the rest goes
};

} // namespace kelvo
