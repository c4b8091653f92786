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
    // Where its resources are: Contents/Resources, or the shared data folder of a system-wide
    // installation, which holds the same files and the Info.plist.
    std::filesystem::path resources;
    bool systemWide = false;

    // The bundle at `path`, or none when it has no readable Info.plist with an identifier.
    static std::optional<Bundle> at(const std::filesystem::path& path);
    // A system-wide installation whose resources and Info.plist are in `dataFolder`, or none.
    static std::optional<Bundle> installedAt(const std::filesystem::path& dataFolder);
    // The bundle this executable runs from (three levels above it), else the system-wide
    // installation it belongs to (its data folder at `dataFromExecutable`, relative to the
    // executable's folder), or none.
    static std::optional<Bundle> main(const std::filesystem::path& dataFromExecutable = {});

    // A resource file, or none when it does not exist.
    std::optional<std::filesystem::path> resource(const std::string& name,
                                                  const std::string& subfolder = {}) const;
};

// The file of the loaded library (or executable) that holds an address.
std::filesystem::path libraryContaining(const void* address);

} // namespace kelvo::platform
