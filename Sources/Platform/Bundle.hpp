#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>

namespace kelvo::platform {

// The string entries of a property list whose root is a dictionary; none when the root is another
// kind of value. Throws std::runtime_error when the data is no property list.
std::optional<std::map<std::string, std::string>> stringEntriesOfPropertyList(const std::string& data);

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
