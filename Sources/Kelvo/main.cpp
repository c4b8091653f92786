// The Kelvo executable: the input method server when started with no argument from its bundle, a
// command-line tool with one.
#include "IBusInputSourceRegistry.hpp"
#include "IBusServer.hpp"
#include "JsonFileDefaults.hpp"
#include "KelvoInputController.hpp"
#include "LexiconStore.hpp"
#include "ProgramEntry.hpp"
#include "SessionBus.hpp"
#include "SettingKey.hpp"
#include "StandardPaths.hpp"
#include "Windows.hpp"

#include <iostream>

namespace {

constexpr const char* defaultIdentifier = "org.kelvo.inputmethod.Kelvo";

// The input method server: one controller per IBus input context, sharing the dictionary, the
// learned data and the text shortcuts of the process.
int runServer(const kelvo::platform::Bundle& bundle, kelvo::platform::UserDefaults& defaults,
              kelvo::platform::Logger& log, bool requestsSettings) {
    using namespace kelvo;
    registerDefaults(defaults);
    auto showSettings = [&] { log.log(platform::Logger::Level::standard, "settings window requested"); };
    platform::SettingsService settings(connectionName(bundle.identifier), showSettings);
    LexiconStore::bootstrap(bundle, log);
    auto support = platform::dataHome() / "Kelvo";
    KelvoInputController::Shared shared{defaults,
                                        std::make_shared<UserPhraseStore>(support / "userphrases.json"),
                                        std::make_shared<CustomTextStore>(support / "customtexts.json")};
    return platform::runIBusServer(
        bundle.identifier, connectionName(bundle.identifier),
        [&](platform::InputClient& client) { return std::make_unique<KelvoInputController>(client, shared); },
        log,
        [&] {
            log.log(platform::Logger::Level::standard, "input method runtime ready");
            if (requestsSettings) showSettings();
        });
}

// The window sub-commands. Their windows are placeholders until the windows themselves are built;
// the layout check cannot pass without the candidate panel.
int runWindowCommand(const std::string& command, const std::optional<std::string>& argument) {
    using kelvo::platform::runSimpleWindow;
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

} // namespace

int main(int argc, char** argv) {
    using namespace kelvo;
    auto bundle = platform::Bundle::main();
    platform::SystemLogger log(bundle ? bundle->identifier : defaultIdentifier);
    platform::IBusInputSourceRegistry registry;
    platform::JsonFileDefaults defaults(platform::JsonFileDefaults::standardLocation());
    ProgramServices services{
        bundle,
        std::cout,
        std::cerr,
        registry,
        defaults,
        log,
        [&] { return bundle && platform::requestSettings(connectionName(bundle->identifier)); },
        [&](bool requestsSettings) { return runServer(*bundle, defaults, log, requestsSettings); },
        [](const std::string& command, const std::optional<std::string>& argument) {
            return runWindowCommand(command, argument);
        },
        true,
    };
    return runProgram(std::vector<std::string>(argv + 1, argv + argc), services);
}
