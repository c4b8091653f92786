// Registering the installed bundle and bringing it into the running session: the server of an older
// version ends only while the user types with another input source, and IBus reloads its components
// where it can do so without costing a composition.
#include "BundleLayout.hpp"
#include "IBusServer.hpp"
#include "InstallerOperations.hpp"
#include "SessionBus.hpp"

#include <chrono>
#include <thread>

namespace kelvo::installer {

using namespace layout;

void InstallerOperations::stopServer() const {
    if (stopRunningServer)
        stopRunningServer();
    else
        platform::stopOwner(platform::serverBusName(inputMethodIdentifier));
}

bool InstallerOperations::serverRuns() const {
    if (serverRunning) return serverRunning();
    return platform::ownerOf(platform::serverBusName(inputMethodIdentifier)).has_value();
}

std::string InstallerOperations::registerInstalled(bool firstInstall) {
    // A running server keeps the old version until it ends: it is ended while the user types with
    // another input source, else left alone, so that no composition is lost.
    std::string notice;
    if (serverRuns()) {
        std::optional<std::string> current = currentInputSourceID ? currentInputSourceID() : std::nullopt;
        if (current && *current != inputMethodIdentifier)
            stopServer(); // the new version starts on next use
        else if (current)
            notice =
                "目前仍選用Kelvo；為保護尚未送出的組字，未強制關閉服務。請先按 Enter 送出，再切換到英文輸入"
                "來源（例如 English (US)），然後再執行一次安裝／更新以重載服務。\n";
        else
            notice = "無法確認目前輸入來源，未強制關閉服務。請先送出組字並切換到英文輸入來源（例如 English "
                     "(US)），再執行一次安裝／更新。\n";
    }
    std::string registered = run(destination_ / executablePath, {"register"}, true);
    verifySeal(destination_);
    if (!sameFiles(payload_, destination_, {executablePath, infoPath}))
        throw InstallerFailure("更新後的檔案與安裝包不一致，請保留此錯誤並重新安裝。");
    return std::string(firstInstall ? "已安裝並驗證完成：" : "檔案更新並驗證完成：") +
           versionDescription(destination_).value_or("未知版本") + "。\n位置：" + destination_.string() +
           "\n設定、學習資料與快捷文字均保留。\n\n" + registered + "\n" + notice + useInRunningSession();
}

// IBus reads its components when it starts: a daemon started before Kelvo was first registered
// does not know it. While no Kelvo server runs, restarting the daemon costs no composition of
// Kelvo's; it then reads the user's cache of components, which registering wrote.
std::string InstallerOperations::useInRunningSession() const {
    if (!(ibusRunning ? ibusRunning() : platform::ibusIsRunning()))
        return "IBus 目前沒有執行：登入桌面後，從輸入來源選單加入Kelvo。";
    auto listed = [this] {
        return run("ibus", {"list-engine"}, false).find(inputMethodIdentifier) != std::string::npos;
    };
    if (listed()) return "請從輸入來源選單切換到Kelvo，不需要先登出。";
    if (!serverRuns()) {
        run("ibus", {"restart"}, false);
        for (int attempt = 0; attempt < 50; ++attempt) {
            if (listed()) return "IBus 已重新載入：請從輸入來源選單加入並切換到Kelvo，不需要先登出。";
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    }
    return "執行中的 IBus 尚未載入Kelvo：請登出再登入，然後從輸入來源選單加入Kelvo。";
}

} // namespace kelvo::installer
