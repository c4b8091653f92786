#include "InputMethodRuntime.hpp"

#include "ChildProcess.hpp"
#include "IBusServer.hpp"
#include "KelvoInputController.hpp"
#include "LexiconStore.hpp"
#include "ProgramEntry.hpp"
#include "SessionBus.hpp"
#include "SettingKey.hpp"
#include "StandardPaths.hpp"
#include "Windows.hpp"

#include <iostream>

namespace kelvo {

int InputMethodRuntime::run(bool requestsSettings) {
    registerDefaults(defaults_);
    platform::SettingsService settings(connectionName(bundle_.identifier), [this] { showSettingsWindow(); });
    LexiconStore::bootstrap(bundle_, log_);
    auto support = platform::dataHome() / "Kelvo";
    KelvoInputController::Shared shared{
        defaults_, std::make_shared<UserPhraseStore>(support / "userphrases.json"),
        std::make_shared<CustomTextStore>(support / "customtexts.json"), log_};
    return platform::runIBusServer(
        bundle_.identifier, connectionName(bundle_.identifier),
        [&](platform::InputClient& client) { return std::make_unique<KelvoInputController>(client, shared); },
        log_,
        [&] {
            log_.log(platform::Logger::Level::standard, "input method runtime ready");
            if (requestsSettings) showSettingsWindow();
        });
}

bool InputMethodRuntime::requestSettings(const std::string& bundleIdentifier) {
    return platform::requestSettings(connectionName(bundleIdentifier));
}

// The settings window is not built yet; the request is logged.
void InputMethodRuntime::showSettingsWindow() {
    log_.log(platform::Logger::Level::standard, "settings window requested");
}

// The window sub-commands. Their windows are placeholders until the windows themselves are built;
// the layout check cannot pass without the candidate panel.
int runWindowCommand(const std::string& command, const std::optional<std::string>& argument) {
    using platform::runSimpleWindow;
    if (command == "candidate-layout-check") {
        std::cerr << "FAIL: the candidate panel is not built yet (output " << argument.value_or("") << ")\n";
        return 1;
    }
    if (command == "guide")
        return runSimpleWindow("Kelvo操作說明", "注音、中英混輸、本機學習與可選的空格規則。");
    if (command == "learned") return runSimpleWindow("Kelvo學習資料", "學習資料視窗尚未完成。");
    if (command == "input-client-check")
        return runSimpleWindow("Kelvo 輸入連線測試", "輸入連線測試尚未完成。");
    return runSimpleWindow("Kelvo 候選預覽（正式引擎）", "候選預覽尚未完成。");
}

} // namespace kelvo
