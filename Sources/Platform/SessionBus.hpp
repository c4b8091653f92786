#pragma once

#include <functional>
#include <optional>
#include <string>
#include <sys/types.h>

namespace kelvo::platform {

// The session bus, where the running input method server owns its connection name so that another
// process of the same bundle can ask it to open its settings.
class SettingsService {
public:
    // Owns `busName` and answers its ShowSettings method by calling `showSettings`, and its
    // UseLearnedData method by calling `useLearnedData`, on the main loop.
    SettingsService(
        std::string busName, std::function<void()> showSettings,
        std::function<void(bool)> useLearnedData = [](bool) {});
    ~SettingsService();
    SettingsService(const SettingsService&) = delete;
    SettingsService& operator=(const SettingsService&) = delete;

private:
    struct State;
    State* state_;
};

// The name the input method server of a bundle owns on the session bus.
std::string serverBusName(const std::string& bundleIdentifier);

// Asks the process that owns `busName` to open its settings; false when no other process owns it.
bool requestSettings(const std::string& busName);

// Asks the process that owns `busName` to use the user's learned data or not (a check that must
// type the same whatever the user taught Kelvo); false when nobody answered.
bool requestLearnedDataInUse(const std::string& busName, bool inUse);

// The process that owns `busName` on this user's session bus, if any.
std::optional<pid_t> ownerOf(const std::string& busName);

// Asks this user's process that owns `busName` to end (SIGTERM, so it saves on the way out);
// other processes of the same name, and other users', are let be. False when none owns it.
bool stopOwner(const std::string& busName);

} // namespace kelvo::platform
