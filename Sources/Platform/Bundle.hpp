#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace kelvo::platform {

// An application bundle: Name.app/Contents/{MacOS/<executable>, Info.plist, Resources/...}.
struct Bundle {
    std::filesystem::path path;
    std::string identifier;   // CFBundleIdentifier
    std::string shortVersion; // CFBundleShortVersionString
    std::string version;      // CFBundleVersion

    // The bundle at `path`, or none when it has no readable Info.plist with an identifier.
    static std::optional<Bundle> at(const std::filesystem::path& path);
    // The bundle this executable runs from (three levels above it), or none outside a bundle.
    static std::optional<Bundle> main();

    // A resource file, or none when it does not exist.
    std::optional<std::filesystem::path> resource(const std::string& name,
                                                  const std::string& subfolder = {}) const;
};

} // namespace kelvo::platform
