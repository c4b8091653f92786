#include "InputMethodRuntime.hpp"

#include "ChildProcess.hpp"
#include "Diagnostics/CandidatePreview.hpp"
#include "Diagnostics/InputClientCheck.hpp"
#include "IBusServer.hpp"
#include "InputMethodServices.hpp"
#include "KelvoInputController.hpp"
#include "LexiconStore.hpp"
#include "ProgramEntry.hpp"
#include "SessionBus.hpp"
#include "SettingKey.hpp"
#include "StandardPaths.hpp"
#include "Windows.hpp"
#include "Windows/GuideWindowController.hpp"
#include "Windows/LearnedDataWindowController.hpp"
#include "Windows/SettingsWindowController.hpp"

#include <QApplication>
#include <chrono>
#include <iostream>
#include <thread>

namespace kelvo {

namespace {

// The settings window over the defaults and the user's stores, wherever it runs.
void showSettings(platform::UserDefaults& defaults, const std::shared_ptr<UserPhraseStore>& userPhrases,
                  const std::shared_ptr<CustomTextStore>& customTexts) {
    auto& settings = SettingsWindowController::shared();
    settings.customTexts = customTexts;
    settings.onReset = [userPhrases] { userPhrases->reset(); };
    settings.onShowLearnedData = [userPhrases] { LearnedDataWindowController::shared().show(userPhrases); };
    settings.show(defaults);
}

// The settings window in a process of its own, for frameworks that host the input method in theirs.
int runSettingsWindow(platform::UserDefaults& defaults) {
    const auto folder = InputMethodServices::supportFolder();
    auto userPhrases = std::make_shared<UserPhraseStore>(folder / "userphrases.json");
    auto customTexts = std::make_shared<CustomTextStore>(folder / "customtexts.json");
    const int status =
        platform::runWindowApplication([&] { showSettings(defaults, userPhrases, customTexts); });
    userPhrases->flush();
    return status;
}

} // namespace

int InputMethodRuntime::run(bool requestsSettings) {
    // Without IBus (under Fcitx5, which hosts the input method itself) only the window is wanted.
    if (requestsSettings && !platform::ibusIsRunning()) {
        registerDefaults(defaults_);
        return runSettingsWindow(defaults_);
    }
    // A second server would wait for the bus name and write over the first one's settings.
    if (auto owner = platform::ownerOf(connectionName(bundle_.identifier))) {
        const std::string message = "Kelvo 輸入法已在執行（行程 " + std::to_string(*owner) +
                                    "），不再啟動第二個。要重新啟動，請先結束它或重新啟動 IBus。";
        std::cerr << message << "\n";
        log_.log(platform::Logger::Level::error, message);
        return 1;
    }
    // A check that types through the server asks it to leave the user's learned data aside for a
    // while; the pause ends on its own should the check never say it is done.
    std::optional<std::chrono::steady_clock::time_point> pausedUntil;
    platform::SettingsService settings(
        connectionName(bundle_.identifier), [this] { showSettingsWindow(); },
        [&pausedUntil](bool inUse) {
            pausedUntil = inUse ? std::nullopt
                                : std::optional(std::chrono::steady_clock::now() + std::chrono::minutes(1));
        });
    // The dictionary loads while the display session starts: both take tens of milliseconds.
    std::thread loading([this] { LexiconStore::bootstrap(bundle_, log_); });
    display_ = platform::DisplaySession::open();
    loading.join();
    InputMethodServices services(defaults_, log_);
    userPhrases_ = services.userPhrases();
    customTexts_ = services.customTexts();
    KelvoInputController::Shared& shared = services.shared();
    shared.showSettings = [this] { showSettingsWindow(); };
    shared.learnedDataPaused = [&pausedUntil] {
        return pausedUntil && std::chrono::steady_clock::now() < *pausedUntil;
    };
    shared.openWindow = [this](const std::string& window) {
        if (window == "guide" && display_) GuideWindowController::shared().show();
    };
    panels::FloatingPanels floatingPanels;
    if (display_ && display_->placesOwnWindows()) shared.panels = &floatingPanels;
    const int status = platform::runIBusServer(
        bundle_.identifier, connectionName(bundle_.identifier),
        [&](platform::InputClient& client) { return std::make_unique<KelvoInputController>(client, shared); },
        log_,
        [&] {
            log_.log(platform::Logger::Level::standard, "input method runtime ready");
            if (requestsSettings) showSettingsWindow();
        });
    return status;
}

bool InputMethodRuntime::requestSettings(const std::string& bundleIdentifier) {
    return platform::requestSettings(connectionName(bundleIdentifier));
}

// In the server's own process, over its defaults: a change reaches every controller at its next key.
void InputMethodRuntime::showSettingsWindow() {
    log_.log(platform::Logger::Level::standard, "settings window requested");
    if (!display_) return; // no display to show it on
    showSettings(defaults_, userPhrases_, customTexts_);
}

int runWindowCommand(const std::string& command, const std::optional<std::string>& argument,
                     const std::optional<platform::Bundle>& bundle, platform::InputSourceRegistry& registry,
                     platform::UserDefaults& defaults) {
    if (command == "settings-window") return runSettingsWindow(defaults);
    if (command == "candidate-layout-check") {
        qputenv("QT_QPA_PLATFORM", "offscreen"); // nothing is shown
        bool passed = false;
        platform::runWindowApplication(
            [&] {
                passed = CandidatePreview::checkLayout(argument.value_or("build/layout-check"), std::cout);
            },
            0);
        return passed ? 0 : 1;
    }
    if (command == "candidate-preview") return CandidatePreview::run(bundle);
    if (command == "input-client-check")
        return runInputClientCheck(registry, bundle ? bundle->identifier : "org.kelvo.inputmethod.Kelvo");
    if (command == "guide")
        return platform::runWindowApplication([] { GuideWindowController::shared().show(); });
    // "learned": over the learned data file, as it is now.
    return platform::runWindowApplication([] {
        auto store =
            std::make_shared<UserPhraseStore>(InputMethodServices::supportFolder() / "userphrases.json");
        LearnedDataWindowController::shared().show(store);
    });
}

} // namespace kelvo
