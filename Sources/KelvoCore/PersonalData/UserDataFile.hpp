#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

namespace kelvo {

// Which version of a file stands at a path: every atomic replacement puts a new file in place.
struct FileVersion {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t modified = 0; // nanoseconds
    std::int64_t size = 0;
    friend bool operator==(const FileVersion&, const FileVersion&) = default;
};

// A JSON file of the user's that several processes may read and rewrite at once. A rewrite takes a
// lock beside the file, reads what is on disk now and writes the new contents made from it, so
// no writer undoes another's change. Writes are atomic: a temporary file in the same folder is
// written, reaches the disk and replaces the old file, so a crash or a full disk leaves either the
// old or the new file whole. Contents that could not all be used are copied aside before they are
// replaced; a file that cannot be read at all, or is no regular file, is never replaced.
class UserDataFile {
public:
    enum class SaveStep { locked, keptAside, temporaryWritten, temporarySynced, renamed, folderSynced };
    // Called after each step of a rewrite (tests); an error answered ends the rewrite there, as a
    // failure of that step would.
    using StepHook = std::function<std::error_code(SaveStep)>;

    struct Contents {
        std::optional<std::string> text; // none when there is no file or it cannot be read
        std::error_code error;           // why an existing file could not be read
    };

    // A rewrite's new contents, and whether the current ones are copied aside first because not
    // all of them could be used.
    struct Rewrite {
        std::string contents;
        bool keepCurrentAside = false;
    };
    using Change = std::function<std::optional<Rewrite>(const std::optional<std::string>& current)>;

    // A file larger than `largest` bytes is read as unreadable, so it is never replaced either.
    explicit UserDataFile(std::filesystem::path path, std::size_t largest = SIZE_MAX)
        : path_(std::move(path)), largest_(largest) {}

    Contents read();
    // Locks, reads the current contents (none without a file), and writes what `change` makes of
    // them; `change` answering no value leaves the file as it is.
    std::error_code rewrite(const Change& change);

    // Whether another process replaced the file since this object last read or wrote it.
    bool changedSinceSeen() const;
    // Deletes the temporary files that interrupted rewrites left beside the file.
    void removeLeftovers();

    const std::filesystem::path& path() const { return path_; }
    // How many copies of unusable contents stay beside the file ("NAME.unreadable-DATE").
    static constexpr std::size_t keptCopies = 5;
    // Where unusable contents were copied since the last call.
    std::optional<std::filesystem::path> takeKeptAside() { return std::exchange(keptAside_, std::nullopt); }
    void setStepHook(StepHook hook) { stepHook_ = std::move(hook); }

private:
    std::error_code step(SaveStep done) const;
    std::error_code keepAside(const std::string& contents);
    std::vector<std::filesystem::path> copiesAside() const;
    std::error_code replaceWith(const std::string& contents);

    std::filesystem::path path_;
    std::size_t largest_;
    std::optional<FileVersion> seen_;
    std::optional<std::filesystem::path> keptAside_;
    StepHook stepHook_;
};

// The version of the file at `path`, if there is one.
std::optional<FileVersion> versionOfFile(const std::filesystem::path& path);

// Writes `contents` to `path` atomically (temporary file, flush to disk, rename), creating missing
// parent folders.
std::error_code writeFileAtomically(const std::filesystem::path& path, std::string_view contents);

} // namespace kelvo
