#pragma once

#include <functional>
#include <string>

namespace kelvo::platform {

// The session bus, where the running input method server owns its connection name so that another
// process of the same bundle can ask it to open its settings.
class SettingsService {
public:
    // Owns `busName` and answers its ShowSettings method by calling `showSettings` on the main loop.
    SettingsService(std::string busName, std::function<void()> showSettings);
    ~SettingsService();
    SettingsService(const SettingsService&) = delete;
    SettingsService& operator=(const SettingsService&) = delete;

private:
    struct State;
    State* state_;
};

// Asks the process that owns `busName` to open its settings; false when no other process owns it.
bool requestSettings(const std::string& busName);

} // namespace kelvo::platform
