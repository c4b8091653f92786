#pragma once

#include "InputSourceRegistry.hpp"

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace kelvo {

// Makes the running bundle known to the input source registry and switches its input source on or
// off, printing one line per step for the installer and for a user at a terminal.
class InputSourceInstaller {
public:
    InputSourceInstaller(platform::InputSourceRegistry& registry, std::string bundleIdentifier,
                         std::filesystem::path bundle, std::ostream& out)
        : registry_(registry), bundleIdentifier_(std::move(bundleIdentifier)), bundle_(std::move(bundle)),
          out_(out) {}

    // The installed sources whose identifier is the bundle identifier.
    std::vector<std::string> findOwnSources();
    // Registers the bundle; on success, and when asked, enables its sources. True on success.
    bool registerSource(bool enableSource);
    // Enables the bundle's sources; false when any could not be (it says why).
    bool enable();
    void disable();

private:
    platform::InputSourceRegistry& registry_;
    std::string bundleIdentifier_;
    std::filesystem::path bundle_;
    std::ostream& out_;
};

} // namespace kelvo
