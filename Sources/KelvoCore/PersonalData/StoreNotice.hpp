#pragma once

#include <chrono>
#include <filesystem>
#include <map>
#include <mutex>
#include <string>
#include <system_error>
#include <vector>

namespace kelvo {

// Something about a user's file that the user should hear of: a save that failed, a file that
// cannot be read, contents copied aside. `message` is for the user (Traditional Chinese, with what
// to do); `detail` is for the log.
struct StoreNotice {
    std::string message;
    std::string detail;
    friend bool operator==(const StoreNotice&, const StoreNotice&) = default;
};

// Why a file operation failed, in words a user can act on ("磁碟已滿").
std::string reasonInWords(std::error_code error);

// `what` names the data, such as "學習資料"; `meanwhile` says what becomes of the unsaved change.
StoreNotice saveFailedNotice(std::string_view what, const std::filesystem::path& file, std::error_code error,
                             std::string_view meanwhile);
StoreNotice unreadableNotice(std::string_view what, const std::filesystem::path& file, std::error_code error);
// `anythingUsed` tells a file that was partly read from one of which nothing could be used (empty,
// cut short, or of no layout Kelvo reads).
StoreNotice keptAsideNotice(std::string_view what, const std::filesystem::path& file,
                            const std::filesystem::path& aside, bool anythingUsed);

// Entries beyond the limits were dropped from the file, which was copied aside first.
StoreNotice prunedNotice(std::string_view what, const std::filesystem::path& file,
                         const std::filesystem::path& aside, std::size_t dropped);

// Notices waiting for the owner to show them. A notice that recurs is told again only after a few
// minutes, so that a lasting failure is seen now and then and not on every key; once the trouble
// is over (`troubleOver`), the next one is told at once. Safe to use from several threads.
class StoreNotices {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::minutes repeatAfter{5};

    void add(StoreNotice notice, Clock::time_point now = Clock::now());
    std::vector<StoreNotice> take();
    void troubleOver();

private:
    std::mutex mutex_;
    std::map<std::string, Clock::time_point> told_;
    std::vector<StoreNotice> waiting_;
};

} // namespace kelvo
