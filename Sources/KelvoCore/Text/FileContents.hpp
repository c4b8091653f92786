#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <system_error>

namespace kelvo {

// The whole contents of a regular file, read straight into the returned string (the bytes are
// copied once). A FIFO, device or folder is refused rather than opened, so that reading never
// waits on another process. A file of more than `largest` bytes is refused. On failure `error` is
// set and the result is empty.
std::string readFileContents(const std::filesystem::path& path, std::error_code& error,
                             std::size_t largest = SIZE_MAX);

// Opens a regular file for reading, refusing a FIFO, device or folder without waiting on it:
// answers the descriptor (the caller closes it) and sets `size`, or -1 with `error` set.
int openRegularFile(const std::filesystem::path& path, std::error_code& error, std::size_t& size);

// Errors of our own about files, beside the system's.
enum class FileError { notRegularFile = 1, tooLarge };
const std::error_category& fileErrorCategory();
std::error_code make_error_code(FileError error);

} // namespace kelvo

template <> struct std::is_error_code_enum<kelvo::FileError> : std::true_type {};
