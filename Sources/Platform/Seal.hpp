#pragma once

#include <filesystem>
#include <string>

// A bundle's seal: Contents/_CodeSignature/CodeResources lists every file of the bundle with its
// SHA-256, size and mode, and every symbolic link with its target. Verification is strict: a
// missing, extra or changed file, or a link that leaves the bundle, fails, naming it.
namespace kelvo::platform::seal {

inline constexpr const char* sealPath = "Contents/_CodeSignature/CodeResources";

struct Result {
    bool ok = false;
    std::string message;
};

// Writes the seal of the bundle as it is now.
Result sign(const std::filesystem::path& bundle);
// Checks the bundle against its seal.
Result verify(const std::filesystem::path& bundle);

} // namespace kelvo::platform::seal
