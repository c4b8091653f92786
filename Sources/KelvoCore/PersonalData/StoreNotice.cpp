#include "PersonalData/StoreNotice.hpp"

#include "Text/FileContents.hpp"

#include <cerrno>
#include <utility>

namespace kelvo {

std::string reasonInWords(std::error_code error) {
    if (error == FileError::notRegularFile) return "它不是一般檔案";
    if (error == FileError::tooLarge) return "檔案大於 Kelvo 能讀的上限";
    if (error == std::errc::no_space_on_device) return "磁碟已滿";
    if (error == std::errc::permission_denied || error == std::errc::operation_not_permitted)
        return "沒有權限";
    if (error == std::errc::read_only_file_system) return "磁碟是唯讀的";
    if (error == std::errc::file_too_large) return "檔案太大";
    return "系統回報錯誤";
}

namespace {

std::string detailOf(std::string_view event, const std::filesystem::path& file, std::error_code error) {
    std::string detail(event);
    detail += ' ';
    detail += file.string();
    detail += ": ";
    detail += error.message();
    return detail;
}

} // namespace

StoreNotice saveFailedNotice(std::string_view what, const std::filesystem::path& file, std::error_code error,
                             std::string_view meanwhile) {
    std::string message(what);
    message += "無法儲存（" + reasonInWords(error) + "）：";
    // A file that cannot be read is never replaced: the user has to move it.
    message += error.category() == fileErrorCategory()
                   ? "Kelvo 不會覆寫「" + file.string() + "」，請移走它。"
                   : "請檢查「" + file.parent_path().string() + "」的空間與權限。";
    message += meanwhile;
    return {message, detailOf("cannot save", file, error)};
}

StoreNotice unreadableNotice(std::string_view what, const std::filesystem::path& file,
                             std::error_code error) {
    std::string message(what);
    message += "檔「" + file.string() + "」無法讀取（" + reasonInWords(error) + "），Kelvo 不會覆寫它：";
    message += error == FileError::tooLarge ? "請移走它。" : "請改正它的權限或移走它。";
    return {message, detailOf("cannot read", file, error)};
}

StoreNotice keptAsideNotice(std::string_view what, const std::filesystem::path& file,
                            const std::filesystem::path& aside, bool anythingUsed) {
    std::string message(what);
    message += anythingUsed ? "檔有部分內容無法使用"
                            : "檔的內容無法使用（空白、不完整或格式不符），沒有讀進任何資料";
    message += "，原檔已另存為「" + aside.filename().string() + "」，與它放在同一資料夾。";
    std::string detail = "kept aside ";
    detail += file.string();
    detail += " as ";
    detail += aside.string();
    return {message, detail};
}

StoreNotice prunedNotice(std::string_view what, const std::filesystem::path& file,
                         const std::filesystem::path& aside, std::size_t dropped) {
    std::string message(what);
    message += "超過 Kelvo 保留的筆數，已刪去最少用到的 " + std::to_string(dropped) +
               " 筆；刪去前的檔案已另存為「" + aside.filename().string() + "」，與它放在同一資料夾。";
    std::string detail = "pruned ";
    detail += std::to_string(dropped);
    detail += " entries from ";
    detail += file.string();
    detail += ", kept the file before as ";
    detail += aside.string();
    return {message, detail};
}

void StoreNotices::add(StoreNotice notice, Clock::time_point now) {
    std::lock_guard lock(mutex_);
    auto [told, first] = told_.try_emplace(notice.message, now);
    if (!first) {
        if (now - told->second < repeatAfter) return;
        told->second = now;
    }
    waiting_.push_back(std::move(notice));
}

void StoreNotices::troubleOver() {
    std::lock_guard lock(mutex_);
    told_.clear();
}

std::vector<StoreNotice> StoreNotices::take() {
    std::lock_guard lock(mutex_);
    return std::exchange(waiting_, {});
}

} // namespace kelvo
