#pragma once

#include <filesystem>
#include <string_view>
#include <system_error>

namespace kelvo::platform {

// Replaces `path` with `contents` without ever leaving a half-written file: a temporary file in the
// same folder is written, flushed to disk and renamed over the old one. Missing folders are made.
std::error_code writeFileAtomically(const std::filesystem::path& path, std::string_view contents);

} // namespace kelvo::platform
