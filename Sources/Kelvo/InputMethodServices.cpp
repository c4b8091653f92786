#include "InputMethodServices.hpp"

#include "SettingKey.hpp"
#include "StandardPaths.hpp"

namespace kelvo {

std::filesystem::path InputMethodServices::supportFolder() {
    return platform::dataHome() / "Kelvo";
}

InputMethodServices::InputMethodServices(platform::UserDefaults& defaults, platform::Logger& log)
    : shared_{defaults, std::make_shared<UserPhraseStore>(supportFolder() / "userphrases.json"),
              std::make_shared<CustomTextStore>(supportFolder() / "customtexts.json"), log} {
    registerDefaults(defaults);
}

InputMethodServices::~InputMethodServices() {
    // What was learned in the last moment before the end; a failure now can only be logged.
    if (shared_.userPhrases->finish()) return;
    for (const StoreNotice& notice : shared_.userPhrases->takeNotices())
        shared_.log.log(platform::Logger::Level::error, notice.message + " (" + notice.detail + ")");
}

} // namespace kelvo
