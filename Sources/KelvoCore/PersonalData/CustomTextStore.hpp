#pragma once

#include "PersonalData/StoreNotice.hpp"
#include "PersonalData/StoreWorker.hpp"
#include "PersonalData/UserDataFile.hpp"

#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace kelvo {

// The user's text shortcuts: a short trigger that expands to a stored text. A change is merged
// into the file as it is on disk (under the file's lock, so two windows never undo each other's
// shortcuts) and takes effect only when that succeeded. When another process replaces the file,
// a worker thread reads it again. Safe to use from several threads.
class CustomTextStore {
public:
    struct Entry {
        std::string trigger;
        std::string text;
        friend bool operator==(const Entry&, const Entry&) = default;
    };
    using Values = std::map<std::string, std::string, std::less<>>;

    // Why a shortcut was refused; file errors come as the system's error codes.
    enum class StoreError { invalidTrigger = 1, emptyText };

    // 1 to 32 characters, each an ASCII letter or digit, "_" or "-".
    static bool validTrigger(std::string_view trigger);

    // Reads the file when a path is given; without one the store lives in memory only.
    explicit CustomTextStore(std::optional<std::filesystem::path> fileURL = std::nullopt);
    ~CustomTextStore();
    CustomTextStore(const CustomTextStore&) = delete;
    CustomTextStore& operator=(const CustomTextStore&) = delete;

    // All shortcuts by trigger, in plain string order.
    std::vector<Entry> entries() const;
    // The exact, case-sensitive expansion of a trigger.
    std::optional<std::string> expansion(std::string_view trigger) const;

    [[nodiscard]] std::error_code set(std::string_view trigger, std::string_view text);
    [[nodiscard]] std::error_code remove(std::string_view trigger);

    const std::optional<std::filesystem::path>& fileURL() const { return fileURL_; }
    // What the user should hear of the file since the last call, each thing once.
    std::vector<StoreNotice> takeNotices() { return notices_.take(); }

    // The file's JSON for a table, and the shortcuts a file's JSON gives (no value for a file that
    // does not decode); `clean` is set false when anything had to be skipped.
    static std::string encoded(const Values& values);
    static std::optional<Values> parse(std::string_view json, bool& clean);

private:
    // Applies `change` to the shortcuts as they are in the file now, and keeps the result.
    std::error_code update(const std::function<void(Values&)>& change);
    void reloadFile();
    std::optional<Values> load(const UserDataFile::Contents& contents);

    std::optional<std::filesystem::path> fileURL_;
    StoreNotices notices_;
    mutable std::mutex mutex_; // guards the values, never held while a file is read or written
    Values values_;
    std::mutex fileMutex_; // guards the file
    std::optional<UserDataFile> file_;
    std::unique_ptr<StoreWorker> worker_; // last: it stops before the rest goes
};

const std::error_category& customTextStoreCategory();
std::error_code make_error_code(CustomTextStore::StoreError error);

} // namespace kelvo

template <> struct std::is_error_code_enum<kelvo::CustomTextStore::StoreError> : std::true_type {};
