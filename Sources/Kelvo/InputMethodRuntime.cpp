#include "InputMethodRuntime.hpp"

#include "ChildProcess.hpp"
#include "Diagnostics/CandidatePreview.hpp"
#include "Diagnostics/InputClientCheck.hpp"
#include "IBusServer.hpp"
#include "KelvoInputController.hpp"
#include "LexiconStore.hpp"
#include "ProgramEntry.hpp"
#include "SessionBus.hpp"
#include "SettingKey.hpp"
#include "StandardPaths.hpp"
#include "Windows.hpp"

#include <QApplication>
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
    auto display = platform::DisplaySession::open();
    panels::FloatingPanels floatingPanels;
    if (display && display->placesOwnWindows()) shared.panels = &floatingPanels;
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

// The window sub-commands. The guide and learned data windows are placeholders until the windows
// themselves are built.
int runWindowCommand(const std::string& command, const std::optional<std::string>& argument,
                     const std::optional<platform::Bundle>& bundle, platform::InputSourceRegistry& registry) {
    using platform::runSimpleWindow;
    if (command == "candidate-layout-check") {
        qputenv("QT_QPA_PLATFORM", "offscreen"); // nothing is shown
        int argc = 1;
        char name[] = "Kelvo";
        char* argv[] = {name, nullptr};
        QApplication application(argc, argv);
        return CandidatePreview::checkLayout(argument.value_or("build/layout-check"), std::cout) ? 0 : 1;
    }
    if (command == "candidate-preview") return CandidatePreview::run(bundle);
    if (command == "input-client-check")
        return runInputClientCheck(registry, bundle ? bundle->identifier : "org.kelvo.inputmethod.Kelvo");
    if (command == "guide")
        return runSimpleWindow("Kelvo操作說明", "注音、中英混輸、本機學習與可選的空格規則。");
    return runSimpleWindow("Kelvo學習資料", "學習資料視窗尚未完成。");
}

} // namespace kelvo
