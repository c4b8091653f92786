#pragma once

#include <filesystem>
#include <string>
#include <system_error>

namespace kelvo {

// The whole contents of a file, read straight into the returned string (the bytes are copied once).
// On failure `error` is set and the result is empty.
std::string readFileContents(const std::filesystem::path& path, std::error_code& error);

} // namespace kelvo
