#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace kelvo::platform {

// The file-system operations that change what a user has installed. Each one throws
// std::filesystem::filesystem_error on failure. A fault hook (tests) can fail any of them before it
// starts, to show that the caller leaves everything as it was.
class FileOperations {
public:
    // Answers an error to fail the named operation ("copy", "move", "remove", "createDirectories")
    // on that path, or no error to let it run.
    using FaultHook =
        std::function<std::error_code(std::string_view operation, const std::filesystem::path& path)>;
    FaultHook faultHook;

    void createDirectories(const std::filesystem::path& folder) const;
    // Copies a folder with its files, links (as links) and modes.
    void copyTree(const std::filesystem::path& from, const std::filesystem::path& to) const;
    // Renames within one file system.
    void move(const std::filesystem::path& from, const std::filesystem::path& to) const;
    void removeTree(const std::filesystem::path& path) const;
    std::string readFile(const std::filesystem::path& file) const;

private:
    void check(std::string_view operation, const std::filesystem::path& path) const;
};

// A whole regular file's bytes; none when it cannot be read or is a FIFO, device or folder.
std::optional<std::string> contentsOfFile(const std::filesystem::path& file);

// A new random identifier in the usual 8-4-4-4-12 upper-case hexadecimal form.
std::string newUUIDString();

} // namespace kelvo::platform
