#pragma once

#include "KelvoInputController.hpp"

#include <filesystem>
#include <memory>

namespace kelvo {

// What an input method process keeps for all its controllers, whichever framework hosts them:
// the user's learned data and shortcuts, shared by every controller, and saved before it goes.
class InputMethodServices {
public:
    InputMethodServices(platform::UserDefaults& defaults, platform::Logger& log);
    ~InputMethodServices();
    InputMethodServices(const InputMethodServices&) = delete;
    InputMethodServices& operator=(const InputMethodServices&) = delete;

    // The folder of the user's learned data and shortcuts.
    static std::filesystem::path supportFolder();

    KelvoInputController::Shared& shared() { return shared_; }
    const std::shared_ptr<UserPhraseStore>& userPhrases() const { return shared_.userPhrases; }
    const std::shared_ptr<CustomTextStore>& customTexts() const { return shared_.customTexts; }

private:
    KelvoInputController::Shared shared_;
};

} // namespace kelvo
