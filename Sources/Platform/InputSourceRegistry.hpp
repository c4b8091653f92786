#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace kelvo::platform {

// The platform's registry of input sources (input method engines). Operations answer 0 on success,
// else an errno-style status.
class InputSourceRegistry {
public:
    virtual ~InputSourceRegistry() = default;

    // The identifiers of every installed input source, enabled or not.
    virtual std::vector<std::string> installedSources() = 0;
    // Makes the bundle at `bundle` known as an input source.
    virtual int registerBundle(const std::filesystem::path& bundle) = 0;
    // Removes what registering the bundle added, and nothing else.
    virtual int unregisterBundle(const std::filesystem::path& bundle) = 0;
    virtual int enable(const std::string& source) = 0;
    virtual int disable(const std::string& source) = 0;
    // Makes an installed input source the one in use.
    virtual int select(const std::string& source) = 0;
    // The identifier of the input source in use, if any.
    virtual std::string currentSource() = 0;
};

} // namespace kelvo::platform
