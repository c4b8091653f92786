#include "StandardPaths.hpp"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace kelvo::platform {
namespace {

std::filesystem::path home() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir) return entry->pw_dir;
    return std::filesystem::temp_directory_path();
}

std::filesystem::path fromEnvironment(const char* variable, const std::filesystem::path& fallback) {
    // The XDG rules ignore relative paths.
    if (const char* value = std::getenv(variable); value && *value == '/') return value;
    return fallback;
}

} // namespace

std::filesystem::path dataHome() {
    return fromEnvironment("XDG_DATA_HOME", home() / ".local" / "share");
}

std::filesystem::path configHome() {
    return fromEnvironment("XDG_CONFIG_HOME", home() / ".config");
}

std::filesystem::path userBundleLocation() {
    return dataHome() / "Input Methods" / "Kelvo.app";
}

} // namespace kelvo::platform
