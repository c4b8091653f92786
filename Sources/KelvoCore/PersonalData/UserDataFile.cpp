#include "PersonalData/UserDataFile.hpp"

#include "Text/FileContents.hpp"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <ctime>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvo {
namespace {

using Step = UserDataFile::SaveStep;
using StepCheck = std::function<std::error_code(Step)>;

std::error_code lastError() {
    return {errno, std::generic_category()};
}

std::error_code writeAll(int descriptor, std::string_view contents) {
    while (!contents.empty()) {
        ssize_t written = ::write(descriptor, contents.data(), contents.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return lastError();
        }
        contents.remove_prefix(static_cast<std::size_t>(written));
    }
    return {};
}

FileVersion versionOf(const struct stat& status) {
    return FileVersion{static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino),
                       static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1'000'000'000 +
                           status.st_mtim.tv_nsec,
                       static_cast<std::int64_t>(status.st_size)};
}

// The folder's entry for the renamed file reaches the disk too.
std::error_code syncFolder(const std::filesystem::path& folder) {
    int descriptor = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) return lastError();
    std::error_code error;
    if (::fsync(descriptor) != 0) error = lastError();
    ::close(descriptor);
    return error;
}

std::string timestamp() {
    std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm utc{};
    gmtime_r(&now, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &utc);
    return text;
}

// The folder a file lies in, "." for a bare name.
std::filesystem::path folderOf(const std::filesystem::path& path) {
    return path.parent_path().empty() ? "." : path.parent_path();
}

std::string temporaryPrefix(const std::filesystem::path& path) {
    std::string prefix = ".";
    prefix += path.filename().string();
    prefix += '.';
    return prefix;
}

// Where a write to `path` goes: through a symbolic link to the file it names, so that the link
// stays a link.
std::filesystem::path writtenPath(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::is_symlink(path, error)) return path;
    std::filesystem::path target = std::filesystem::weakly_canonical(path, error);
    return error ? path : target;
}

// Gives the new file the mode and owner of the one it replaces: a file the user made read-only is
// refused instead, and one whose owner cannot be kept (another user's, written by a user who is
// not root) is not replaced.
std::error_code keepModeAndOwner(int descriptor, const std::filesystem::path& replaced) {
    struct stat old {};
    if (::stat(replaced.c_str(), &old) != 0) return {}; // a new file
    if (!(old.st_mode & S_IWUSR)) return std::make_error_code(std::errc::permission_denied);
    if (::fchmod(descriptor, old.st_mode & 07777) != 0) return lastError();
    struct stat made {};
    if (::fstat(descriptor, &made) != 0) return lastError();
    if ((made.st_uid != old.st_uid || made.st_gid != old.st_gid) &&
        ::fchown(descriptor, old.st_uid, old.st_gid) != 0)
        return lastError();
    return {};
}

// Writes a temporary file beside `path` and renames it over `path`; answers the version put in
// place through `written`.
std::error_code writeAtomically(const std::filesystem::path& requested, std::string_view contents,
                                const StepCheck& check, std::optional<FileVersion>& written) {
    std::error_code error;
    const std::filesystem::path path = writtenPath(requested);
    const std::filesystem::path folder = path.parent_path();
    if (!folder.empty()) std::filesystem::create_directories(folder, error);
    if (error) return error;

    std::string temporary = (folder / (temporaryPrefix(path) + "XXXXXX")).string();
    int descriptor = ::mkstemp(temporary.data());
    if (descriptor < 0) return lastError();
    error = keepModeAndOwner(descriptor, path);
    if (!error) error = writeAll(descriptor, contents);
    if (!error) error = check(Step::temporaryWritten);
    if (!error && ::fsync(descriptor) != 0) error = lastError();
    if (!error) error = check(Step::temporarySynced);
    struct stat status {};
    if (!error && ::fstat(descriptor, &status) != 0) error = lastError();
    if (::close(descriptor) != 0 && !error) error = lastError();
    if (!error && ::rename(temporary.c_str(), path.c_str()) != 0) error = lastError();
    if (error) {
        ::unlink(temporary.c_str());
        return error;
    }
    written = versionOf(status);
    if ((error = check(Step::renamed))) return error;
    if ((error = syncFolder(folder))) return error;
    return check(Step::folderSynced);
}

// An exclusive lock on a file beside the data, held while it lives. The lock file stays: deleting
// it would let two writers lock two different files.
class FileLock {
public:
    explicit FileLock(const std::filesystem::path& path) {
        std::error_code ignored;
        if (!path.parent_path().empty()) std::filesystem::create_directories(path.parent_path(), ignored);
        descriptor_ = ::open((path.string() + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (descriptor_ < 0) {
            error_ = lastError();
            return;
        }
        while (::flock(descriptor_, LOCK_EX) != 0) {
            if (errno == EINTR) continue;
            error_ = lastError();
            break;
        }
    }
    ~FileLock() {
        if (descriptor_ >= 0) ::close(descriptor_); // closing releases the lock
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    std::error_code error() const { return error_; }

private:
    int descriptor_ = -1;
    std::error_code error_;
};

} // namespace

std::optional<FileVersion> versionOfFile(const std::filesystem::path& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) return std::nullopt;
    return versionOf(status);
}

std::error_code writeFileAtomically(const std::filesystem::path& path, std::string_view contents) {
    std::optional<FileVersion> written;
    return writeAtomically(
        path, contents, [](Step) { return std::error_code(); }, written);
}

UserDataFile::Contents UserDataFile::read() {
    Contents result;
    auto before = versionOfFile(path_);
    std::string text = readFileContents(path_, result.error, largest_);
    if (result.error == std::errc::no_such_file_or_directory)
        result.error.clear();
    else if (!result.error)
        result.text = std::move(text);
    seen_ = before;
    return result;
}

bool UserDataFile::changedSinceSeen() const {
    return versionOfFile(path_) != seen_;
}

std::error_code UserDataFile::step(SaveStep done) const {
    return stepHook_ ? stepHook_(done) : std::error_code();
}

std::error_code UserDataFile::rewrite(const Change& change) {
    FileLock lock(path_);
    if (std::error_code error = lock.error()) return error;
    if (std::error_code error = step(SaveStep::locked)) return error;
    Contents current = read();
    if (current.error) return current.error; // what cannot be read is never replaced
    std::optional<Rewrite> next = change(current.text);
    if (!next) return {};
    if (next->keepCurrentAside && current.text)
        if (std::error_code error = keepAside(*current.text)) return error;
    return replaceWith(next->contents);
}

// The copies set aside so far, the oldest first.
std::vector<std::filesystem::path> UserDataFile::copiesAside() const {
    const std::string prefix = path_.filename().string() + ".unreadable-";
    std::vector<std::pair<std::filesystem::file_time_type, std::filesystem::path>> found;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folderOf(path_), error))
        if (entry.path().filename().string().starts_with(prefix))
            found.emplace_back(entry.last_write_time(error), entry.path());
    std::sort(found.begin(), found.end());
    std::vector<std::filesystem::path> copies;
    for (auto& [time, path] : found)
        copies.push_back(std::move(path));
    return copies;
}

std::error_code UserDataFile::keepAside(const std::string& contents) {
    // Once for each distinct content: what a copy already holds is not copied again (a newer
    // version's file, say, met again and again).
    std::vector<std::filesystem::path> copies = copiesAside();
    for (const auto& copy : copies) {
        std::error_code unread;
        if (readFileContents(copy, unread) == contents && !unread) return step(SaveStep::keptAside);
    }
    // A fresh name for every copy: a copy never replaces an earlier one.
    const std::string base = path_.string() + ".unreadable-" + timestamp();
    std::string aside = base;
    int descriptor = -1;
    for (int n = 2; (descriptor = ::open(aside.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600)) < 0;
         ++n) {
        if (errno != EEXIST) return lastError();
        aside = base + "-" + std::to_string(n);
    }
    std::error_code error = writeAll(descriptor, contents);
    if (!error && ::fsync(descriptor) != 0) error = lastError();
    if (::close(descriptor) != 0 && !error) error = lastError();
    if (error) {
        ::unlink(aside.c_str()); // the original stays where it was
        return error;
    }
    keptAside_ = aside;
    // A few copies are kept, the oldest going first.
    copies.emplace_back(aside);
    for (std::size_t i = 0; i + keptCopies < copies.size(); ++i)
        ::unlink(copies[i].c_str());
    return step(SaveStep::keptAside);
}

std::error_code UserDataFile::replaceWith(const std::string& contents) {
    std::optional<FileVersion> written;
    std::error_code error = writeAtomically(
        path_, contents, [this](Step done) { return step(done); }, written);
    if (written) seen_ = written;
    return error;
}

void UserDataFile::removeLeftovers() {
    FileLock lock(path_);
    if (lock.error()) return;
    // Rewrites make their temporary files only while they hold the lock: any found now is a leftover.
    const std::string prefix = temporaryPrefix(path_);
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folderOf(path_), error)) {
        const std::string name = entry.path().filename().string();
        if (name.size() == prefix.size() + 6 && name.starts_with(prefix) && entry.is_regular_file(error))
            std::filesystem::remove(entry.path(), error);
    }
}

} // namespace kelvo
