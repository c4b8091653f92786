#pragma once

#include "Bundle.hpp"
#include "InputSourceRegistry.hpp"
#include "Logger.hpp"
#include "PersonalData/CustomTextStore.hpp"
#include "PersonalData/UserPhraseStore.hpp"
#include "UserDefaults.hpp"
#include "Windows.hpp"

#include <memory>
#include <optional>
#include <string>

namespace kelvo {

// The input method server: registers the setting defaults, loads the dictionary once for the
// process, answers settings requests on the session bus, and serves one input controller per IBus
// input context until the bus goes away.
class InputMethodRuntime {
public:
    InputMethodRuntime(const platform::Bundle& bundle, platform::UserDefaults& defaults,
                       platform::Logger& log)
        : bundle_(bundle), defaults_(defaults), log_(log) {}

    int run(bool requestsSettings);

    // Asks a running server of this bundle to open its settings; true when one answered.
    static bool requestSettings(const std::string& bundleIdentifier);

private:
    void showSettingsWindow();

    const platform::Bundle& bundle_;
    platform::UserDefaults& defaults_;
    platform::Logger& log_;
    std::shared_ptr<UserPhraseStore> userPhrases_;
    std::shared_ptr<CustomTextStore> customTexts_;
    std::unique_ptr<platform::DisplaySession> display_; // none without a display
};

// The window sub-commands; answers the exit status.
int runWindowCommand(const std::string& command, const std::optional<std::string>& argument,
                     const std::optional<platform::Bundle>& bundle, platform::InputSourceRegistry& registry,
                     platform::UserDefaults& defaults);

} // namespace kelvo
