#include "ProgramEntry.hpp"

#include "Dictionary/DictionaryCheck.hpp"
#include "InputSourceInstaller.hpp"
#include "LexiconStore.hpp"
#include "SessionBus.hpp"
#include "SettingKey.hpp"

#include <algorithm>

namespace kelvo {
namespace {

int diagnose(ProgramServices& services) {
    auto lexicon = loadBundledDictionary(services.bundle);
    if (!services.controllerAvailable || !lexicon || !passesDictionaryCheck(*lexicon)) {
        services.err << "FAIL: controller or bundled dictionary unavailable\n";
        return 1;
    }
    services.out << "PASS: IMK controller class, bundled dictionary (" << lexicon->entryCount()
                 << " entries)\n";
    return 0;
}

int runAsServer(ProgramServices& services, bool requestsSettings) {
    if (!services.bundle) {
        services.err << "錯誤：必須以 Kelvo.app 形式執行\n";
        return 1;
    }
    return services.runServer(requestsSettings);
}

InputSourceInstaller installerFor(ProgramServices& services) {
    return InputSourceInstaller(
        services.registry, services.bundle ? services.bundle->identifier : std::string(),
        services.bundle ? services.bundle->path : std::filesystem::path(), services.out);
}

} // namespace

std::string connectionName(const std::string& bundleIdentifier) {
    return platform::serverBusName(bundleIdentifier);
}

int runProgram(const std::vector<std::string>& arguments, ProgramServices& services) {
    if (arguments.empty()) return runAsServer(services, false);
    const std::string& command = arguments[0];
    auto argument = arguments.size() > 1 ? std::optional<std::string>(arguments[1]) : std::nullopt;
    if (command == "settings") {
        if (services.requestSettingsFromRunningInstance && services.requestSettingsFromRunningInstance())
            return 0;
        return runAsServer(services, true);
    }
    if (command == "input-client-check") return services.runWindow(command, std::nullopt);
    if (command == "candidate-layout-check")
        return services.runWindow(command, argument.value_or("build/layout-check"));
    if (command == "register" || command == "install") {
        if (!services.bundle) {
            services.out << "TISRegisterInputSource 失敗：2\n"; // no bundle to register: ENOENT
            return 1;
        }
        if (services.bundle->systemWide) {
            services.out << "Kelvo 已由系統套件安裝，不必註冊：在桌面的輸入來源中加入 Kelvo 即可。\n";
            return 0;
        }
        return installerFor(services).registerSource(command == "install") ? 0 : 1;
    }
    if (command == "enable") return installerFor(services).enable() ? 0 : 1;
    if (command == "uninstall") {
        if (services.bundle && services.bundle->systemWide) {
            // The package's files are the package manager's; a user's own registration is not this copy's.
            services.out << "Kelvo 由系統套件安裝：請以套件管理程式移除（sudo apt remove kelvo）。\n";
            return 1;
        }
        installerFor(services).disable();
        return 0;
    }
    if (command == "diagnose") return diagnose(services);
    if (command == "candidate-preview" || command == "guide" || command == "learned" ||
        command == "settings-window") {
        registerDefaults(services.defaults);
        return services.runWindow(command, std::nullopt);
    }
    services.err << usageLine;
    return 1;
}

} // namespace kelvo
