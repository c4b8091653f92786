#pragma once

#include "InputSourceRegistry.hpp"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kelvo::platform {

// The input source registry on IBus. Registering writes the bundle's engine component into the
// user's component folder, points IBUS_COMPONENT_PATH at it through environment.d (keeping other
// folders) and refreshes the daemon's cache; it also gives ibus-setup and GNOME Settings a way to
// open the settings. Enabling adds the engine to IBus's preload-engines and, where GNOME's schema
// exists, to its input sources, after the user's keyboard layout when a list is empty. The current
// source is IBus's global engine.
class IBusInputSourceRegistry : public InputSourceRegistry {
public:
    struct Locations {
        std::filesystem::path componentFolder;  // $XDG_DATA_HOME/Kelvo/ibus-component
        std::filesystem::path environmentFile;  // ~/.config/environment.d/60-kelvo-ibus.conf
        std::filesystem::path systemComponents; // /usr/share/ibus/component
        std::filesystem::path applications;     // $XDG_DATA_HOME/applications
        std::filesystem::path keyboardFile = "/etc/default/keyboard"; // the system's keyboard layout
        static Locations standard();
    };

    explicit IBusInputSourceRegistry(Locations locations = Locations::standard())
        : locations_(std::move(locations)) {}

    std::vector<std::string> installedSources() override;
    int registerBundle(const std::filesystem::path& bundle) override;
    int unregisterBundle(const std::filesystem::path& bundle) override;
    int enable(const std::string& source) override;
    int disable(const std::string& source) override;
    int select(const std::string& source) override;
    std::string currentSource() override;

    // The executable of the user's own copy when it is installed and registered for the session;
    // it serves the user in place of a system-wide installation.
    std::optional<std::filesystem::path> registeredUserCopy() const;

    // The component file a bundle installs: its template with the executable's path filled in.
    static std::filesystem::path componentTemplate(const std::filesystem::path& bundle);

private:
    // The folders IBUS_COMPONENT_PATH names for the session: the component's, the others the
    // environment file lists, the system's.
    std::vector<std::string> componentPath() const;
    int writeEnvironmentLine(const std::vector<std::string>& folders) const;
    std::vector<std::string> environmentFolders() const;
    int updateLists(const std::string& source, bool add) const;
    std::string layoutEngine(const std::string& layout, const std::string& variant) const;

    Locations locations_;
};

// A component's exec line for the executable: quoted for IBus's shell-like split, escaped for XML.
std::string execLineFor(const std::string& executable);

} // namespace kelvo::platform
