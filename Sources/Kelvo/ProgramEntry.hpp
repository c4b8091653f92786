#pragma once

#include "Bundle.hpp"
#include "InputSourceRegistry.hpp"
#include "Logger.hpp"
#include "UserDefaults.hpp"

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace kelvo {

// What the program entry reaches the system through; the real ones are wired in main, fakes in tests.
struct ProgramServices {
    std::optional<platform::Bundle> bundle; // the bundle this executable runs from
    std::ostream& out;
    std::ostream& err;
    platform::InputSourceRegistry& registry;
    platform::UserDefaults& defaults;
    platform::Logger& log;
    // Asks a running instance of this bundle to open its settings; true when one answered.
    std::function<bool()> requestSettingsFromRunningInstance;
    // Runs the input method server (requestsSettings: open the settings window once ready).
    std::function<int(bool requestsSettings)> runServer;
    // Runs one of the window sub-commands with its optional argument; answers its exit status.
    std::function<int(const std::string& command, const std::optional<std::string>& argument)> runWindow;
    // Whether the input controller is built into this executable.
    bool controllerAvailable = true;
};

inline constexpr const char* usageLine = "用法：Kelvo [install|uninstall|diagnose|guide|learned|settings]\n";

// The name the input method server is reached under, formed from the bundle identifier.
std::string connectionName(const std::string& bundleIdentifier);

// The command line of the Kelvo executable: answers the exit status.
int runProgram(const std::vector<std::string>& arguments, ProgramServices& services);

} // namespace kelvo
