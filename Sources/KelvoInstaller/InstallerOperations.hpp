#pragma once

#include "ChildProcess.hpp"
#include "FileOperations.hpp"
#include "SessionBus.hpp"

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace kelvo::installer {

// The installer's own failures; the message is what the user reads.
struct InstallerFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// What the user reads of a failure: the installer's own message, or a file error said in Traditional
// Chinese with what to do. The library's own wording goes to the log (standard error) instead.
std::string userMessageOf(const std::exception& error);

// Installs, updates and removes the input method bundle. Every step is verified (seal, identity,
// contents); an existing bundle is replaced through a staged copy and restored when a later step
// fails; nothing is written over or removed from a folder that is not a Kelvo bundle.
class InstallerOperations {
public:
    static constexpr const char* inputMethodIdentifier = "org.kelvo.inputmethod.Kelvo";

    // Runs a program with its output going to an open file (tests replace it to inject faults).
    using Launcher =
        std::function<platform::ChildResult(const std::vector<std::string>& command, int outputFile)>;

    // `sealTool` checks a bundle's seal: `sealTool verify BUNDLE`.
    InstallerOperations(std::filesystem::path payload, std::filesystem::path destination,
                        std::filesystem::path sealTool);

    // Installs or updates; answers the message for the user. With `registerSource`, also stops the
    // old service when it is not in use and registers the installed bundle.
    std::string install(bool registerSource);
    // Removes the installed bundle; with `registerSource`, unregisters it first.
    void uninstall(bool registerSource);
    void verifyPayload() const;
    // The installed bundle's short version, when a Kelvo bundle is installed.
    std::optional<std::string> installedVersion() const;
    // Installs, reinstalls, removes and protects a foreign folder in a scratch destination.
    void smokeTest();
    // Runs a tool with its output in a temporary log file; answers the output. With `required`, a
    // non-zero exit fails with the tool's own output.
    std::string run(const std::filesystem::path& path, const std::vector<std::string>& arguments,
                    bool required) const;

    const std::filesystem::path& payload() const { return payload_; }
    const std::filesystem::path& destination() const { return destination_; }

    platform::FileOperations fm;
    Launcher launch = platform::runChildWritingTo;
    // The input source in use; none when it cannot be read.
    std::function<std::optional<std::string>()> currentInputSourceID;
    // Ends this user's running input method server, found by its name on the session bus; other
    // processes named Kelvo (an open window, other users' servers) are let be.
    std::function<void()> stopRunningServer;
    // Whether this user's input method server runs, and whether an IBus daemon does.
    std::function<bool()> serverRunning;
    std::function<bool()> ibusRunning;

private:
    void recoverInterruptedInstall() const;
    void stopServer() const;
    std::map<std::string, std::string> info(const std::filesystem::path& bundle) const;
    std::optional<std::string> versionDescription(const std::filesystem::path& bundle) const;
    void verifyDestination() const;
    void verifySeal(const std::filesystem::path& bundle) const;
    bool sameFiles(const std::filesystem::path& a, const std::filesystem::path& b,
                   const std::vector<std::string>& files) const;
    std::string registerInstalled(bool firstInstall);
    std::string useInRunningSession() const;
    bool serverRuns() const;

    std::filesystem::path payload_;
    std::filesystem::path destination_;
    std::filesystem::path sealTool_;
};

// Where the input method is installed for this user.
std::filesystem::path installedBundleLocation();

} // namespace kelvo::installer
