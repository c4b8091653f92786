#include "PersonalData/UserPhraseStore.hpp"

#include "PersonalData/LearnedDataFormat.hpp"

#include <algorithm>
#include <atomic>
#include <chrono>

namespace kelvo {
namespace {

// Versions count across every store of the process, so that two stores never answer alike under
// one version (a decoder tells its habits apart by it). Version 0 is a store that holds nothing.
std::uint64_t nextVersion() {
    static std::atomic<std::uint64_t> last{0};
    return ++last;
}

constexpr std::string_view dataName = "學習資料";
// A process's times run a little ahead of the clock when it makes several changes within one
// millisecond: only a time further ahead than this comes from a clock that was wrong.
constexpr std::int64_t clockSlack = 60'000;

std::int64_t millisecondsNow() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

} // namespace

std::string_view UserPhraseStore::label(Entry::Kind kind) {
    return LearnedEntry::label(kind);
}

UserPhraseStore::UserPhraseStore(std::optional<std::filesystem::path> fileURL)
    : fileURL_(std::move(fileURL)) {
    if (!fileURL_) return;
    file_.emplace(*fileURL_, largestFile);
    file_->setStepHook([this](UserDataFile::SaveStep step) {
        UserDataFile::StepHook hook;
        {
            std::lock_guard lock(mutex_);
            hook = stepHook_;
        }
        return hook ? hook(step) : std::error_code();
    });
    worker_ = std::make_unique<StoreWorker>(*fileURL_, StoreWorker::Tasks{[this] { return saveChanges(); },
                                                                          [this] { reloadFile(); },
                                                                          [this] {
                                                                              file_->removeLeftovers();
                                                                              readFile();
                                                                          }});
}

void UserPhraseStore::setSaveStepHook(UserDataFile::StepHook hook) {
    std::lock_guard lock(mutex_);
    stepHook_ = std::move(hook);
}

std::size_t UserPhraseStore::tablesAwaitingRelease() {
    std::lock_guard lock(mutex_);
    return retired_.size();
}

UserPhraseStore::~UserPhraseStore() = default;

std::optional<LearnedData> UserPhraseStore::load(const UserDataFile::Contents& contents) {
    if (contents.error) notices_.add(unreadableNotice(dataName, *fileURL_, contents.error));
    if (!contents.text) return std::nullopt;
    bool clean = true; // what could not be used is copied aside by the next save
    auto data = parseLearnedData(*contents.text, clean);
    if (data) noteFutureTimes(*data, millisecondsNow());
    return data;
}

// A time from the future counts as just before what this process learned since it met the file.
void UserPhraseStore::noteFutureTimes(LearnedData& data, std::int64_t earliestChange) {
    const std::int64_t now = millisecondsNow();
    if (clampFutureTimes(data, now + clockSlack, std::min(now, earliestChange) - 1))
        notices_.add({std::string(dataName) +
                          "中記錄的時間晚於現在（可能曾在時鐘超前時重設，或來自另一台電腦），"
                          "已改為現在的時間，之後學到的內容會照常記錄。",
                      "times later than now in " + fileURL_->string() + " moved back to now"});
}

std::int64_t UserPhraseStore::nextTime() {
    // Strictly increasing, so that a change after a removal in this process always counts.
    lastTime_ = std::max(millisecondsNow(), lastTime_ + 1);
    return lastTime_;
}

void UserPhraseStore::record(decltype(LearnedChange::what) what) {
    refresh();
    LearnedChange change{std::move(what), nextTime()};
    apply(data_, change);
    version_ = nextVersion();
    if (!std::holds_alternative<LearnedChange::Choice>(change.what) &&
        !std::holds_alternative<LearnedChange::Sequence>(change.what) &&
        !std::holds_alternative<LearnedChange::EnglishReading>(change.what))
        ++wordsVersion_;
    if (!worker_) return;
    {
        std::lock_guard lock(mutex_);
        unsaved_.emplace_back(++lastChange_, std::move(change));
    }
    worker_->changed();
}

bool UserPhraseStore::refresh() {
    std::optional<Merged> merged;
    std::vector<LearnedChange> later;
    {
        std::lock_guard lock(mutex_);
        if (!incoming_) return false;
        merged = std::exchange(incoming_, std::nullopt);
        for (const auto& [number, change] : unsaved_)
            if (number > merged->through) later.push_back(change);
    }
    LearnedData previous = std::exchange(data_, std::move(merged->data));
    version_ = nextVersion();
    ++wordsVersion_;
    for (const LearnedChange& change : later)
        apply(data_, change);
    // Freeing a large table takes milliseconds: the worker does it, off the key path. Several may
    // wait, when a save began before the last refresh and ended after it.
    std::lock_guard lock(mutex_);
    retired_.push_back(std::move(previous));
    return true;
}

bool UserPhraseStore::saveChanges() {
    std::vector<LearnedChange> changes;
    std::uint64_t through = 0;
    std::vector<LearnedData> retired;
    {
        std::lock_guard lock(mutex_);
        retired = std::exchange(retired_, {});
        if (unsaved_.empty()) return true;
        for (const auto& [number, change] : unsaved_)
            changes.push_back(change);
        through = unsaved_.back().first;
    }
    LearnedData merged;
    bool anythingUsed = true;
    std::size_t pruned = 0;
    bool overfull = false; // the file itself held far more than the limits
    std::error_code error = file_->rewrite([&](const std::optional<std::string>& current) {
        bool clean = true;
        std::optional<LearnedData> read = current ? parseLearnedData(*current, clean) : std::nullopt;
        anythingUsed = read.has_value();
        merged = read.value_or(LearnedData{});
        overfull = entriesBeyondLimits(merged) > largestQuietPrune;
        noteFutureTimes(merged, changes.front().time);
        for (const LearnedChange& change : changes)
            apply(merged, change);
        pruned = prune(merged, millisecondsNow());
        return UserDataFile::Rewrite{encodeLearnedData(merged), !clean || overfull};
    });
    if (auto aside = file_->takeKeptAside())
        notices_.add(overfull ? prunedNotice(dataName, *fileURL_, *aside, pruned)
                              : keptAsideNotice(dataName, *fileURL_, *aside, anythingUsed));
    if (error) {
        notices_.add(saveFailedNotice(dataName, *fileURL_, error,
                                      finishing_ ? "程式即將結束，這次新學到的內容沒有儲存。"
                                                 : "修好之前，新學到的內容只留在記憶體中，Kelvo 會再試。"));
        return false;
    }
    notices_.troubleOver(); // a failure after this one is told again
    std::lock_guard lock(mutex_);
    std::erase_if(unsaved_, [&](const auto& pair) { return pair.first <= through; });
    savedThrough_ = through;
    incoming_ = Merged{std::move(merged), through};
    return true;
}

void UserPhraseStore::readFile() {
    auto loaded = load(file_->read());
    if (!loaded) return;              // keep what is known; the next save sets the file right
    std::vector<LearnedData> retired; // freed here, after the lock, as by a save
    std::lock_guard lock(mutex_);
    retired = std::exchange(retired_, {});
    incoming_ = Merged{std::move(*loaded), savedThrough_};
}

void UserPhraseStore::reloadFile() {
    if (file_->changedSinceSeen()) readFile(); // else this process wrote it
}

void UserPhraseStore::saveSoon() {
    if (worker_) worker_->saveSoon();
}

void UserPhraseStore::flush() {
    if (!worker_) return;
    worker_->flush();
    refresh();
}

bool UserPhraseStore::finish() {
    finishing_ = true;
    flush();
    std::lock_guard lock(mutex_);
    return unsaved_.empty();
}

void UserPhraseStore::bump(std::string_view reading, std::string_view value) {
    record(LearnedChange::Choice{std::string(reading), std::string(value)});
}

void UserPhraseStore::noteCommit(const std::vector<std::string>& values) {
    bool anyPair = false;
    for (std::size_t i = 0; i + 1 < values.size(); ++i)
        anyPair = anyPair || (!values[i].empty() && !values[i + 1].empty());
    if (anyPair) record(LearnedChange::Sequence{values});
}

void UserPhraseStore::noteWordCandidate(std::string_view reading, std::string_view value) {
    record(LearnedChange::WordReport{std::string(reading), std::string(value)});
}

void UserPhraseStore::noteEnglishReading(std::string_view keys, bool english) {
    record(LearnedChange::EnglishReading{std::string(keys), english});
}

void UserPhraseStore::remove(const Entry& entry) {
    record(LearnedChange::Removal{entry.kind, entry.key, entry.value});
}

void UserPhraseStore::reset() {
    record(LearnedChange::Clearing{});
}

std::size_t UserPhraseStore::transitionCount() const {
    return data_.entryCount(data_.transitions);
}

std::vector<UserPhraseStore::Entry> UserPhraseStore::entries(Entry::Kind kind) const {
    std::vector<Entry> rows;
    for (const auto& [key, row] : data_.table(kind))
        for (const auto& [value, use] : row)
            rows.push_back(Entry{kind, key, value, use.count});
    std::sort(rows.begin(), rows.end(), [](const Entry& a, const Entry& b) {
        if (a.count != b.count) return a.count > b.count;
        if (a.key != b.key) return a.key < b.key;
        return a.value < b.value;
    });
    return rows;
}

} // namespace kelvo
