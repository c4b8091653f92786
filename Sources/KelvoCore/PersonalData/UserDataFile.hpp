#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>

namespace kelvo {

// A JSON file of the user's, read once and rewritten whole. Writes are atomic: the new contents go
// to a temporary file in the same folder, reach the disk, and then replace the old file, so a crash
// or a full disk never leaves a half-written file. A file whose contents could not be used as they
// stand is renamed aside before the first save would replace it, so nothing the user had is lost.
class UserDataFile {
public:
    explicit UserDataFile(std::filesystem::path path) : path_(std::move(path)) {}

    // The file's contents; no value when it does not exist or cannot be read (an unreadable file
    // is then kept aside at the next save).
    std::optional<std::string> read();

    // The contents were read but could not all be used: keep the file aside before replacing it.
    void keepAsideBeforeSaving() { keepAside_ = true; }

    // Reads the file and decodes it with `parse(text, clean)`, which answers an optional value and
    // sets `clean` false when it had to skip anything; the file is then kept aside at the next save.
    template <class Parse>
    auto load(Parse parse) -> decltype(parse(std::string_view(), std::declval<bool&>())) {
        auto contents = read();
        if (!contents) return std::nullopt;
        bool clean = true;
        auto parsed = parse(*contents, clean);
        if (!clean) keepAsideBeforeSaving();
        return parsed;
    }

    // Replaces the file with `contents`, creating missing folders. On failure the old file stays.
    std::error_code save(std::string_view contents);

    const std::filesystem::path& path() const { return path_; }
    // Where the unusable file was moved, once it has been.
    const std::optional<std::filesystem::path>& keptAside() const { return keptAside_; }

private:
    std::error_code moveAside();

    std::filesystem::path path_;
    bool keepAside_ = false;
    std::optional<std::filesystem::path> keptAside_;
};

// Writes `contents` to `path` atomically (temporary file, flush to disk, rename), creating missing
// parent folders.
std::error_code writeFileAtomically(const std::filesystem::path& path, std::string_view contents);

} // namespace kelvo
