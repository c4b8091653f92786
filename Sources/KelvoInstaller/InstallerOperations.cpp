#include "InstallerOperations.hpp"

#include "Bundle.hpp"
#include "BundleLayout.hpp"
#include "IBusInputSourceRegistry.hpp"
#include "PersonalData/StoreNotice.hpp"
#include "StandardPaths.hpp"

#include <fcntl.h>
#include <iostream>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvo::installer {

namespace fs = std::filesystem;
using namespace layout;

namespace {

bool anythingAt(const fs::path& path) {
    std::error_code error;
    return fs::symlink_status(path, error).type() != fs::file_type::not_found && !error;
}

void removeQuietly(const fs::path& path) {
    std::error_code error;
    fs::remove_all(path, error);
}

// Deletes a path when the scope ends, unless it was released.
class Leftover {
public:
    explicit Leftover(fs::path path) : path_(std::move(path)) {}
    ~Leftover() {
        if (!path_.empty()) removeQuietly(path_);
    }
    void keep() { path_.clear(); }
    Leftover(const Leftover&) = delete;
    Leftover& operator=(const Leftover&) = delete;

private:
    fs::path path_;
};

std::optional<std::string> currentSourceFromIBus() {
    platform::IBusInputSourceRegistry registry;
    std::string source = registry.currentSource();
    if (source.empty()) return std::nullopt;
    return source;
}

ino_t fileNumber(const fs::path& file) {
    struct stat status {};
    return ::stat(file.c_str(), &status) == 0 ? status.st_ino : 0;
}

} // namespace

fs::path installedBundleLocation() {
    return platform::userBundleLocation();
}

InstallerOperations::InstallerOperations(fs::path payload, fs::path destination, fs::path sealTool)
    : currentInputSourceID(currentSourceFromIBus), payload_(std::move(payload)),
      destination_(std::move(destination)), sealTool_(std::move(sealTool)) {}

std::string InstallerOperations::run(const fs::path& path, const std::vector<std::string>& arguments,
                                     bool required) const {
    const fs::path log = fs::temp_directory_path() / ("kelvo-process-" + platform::newUUIDString() + ".log");
    int file = ::open(log.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (file < 0) throw fs::filesystem_error("open", log, std::error_code(errno, std::generic_category()));
    Leftover logFile(log);
    std::vector<std::string> command{path.string()};
    command.insert(command.end(), arguments.begin(), arguments.end());
    platform::ChildResult result = launch(command, file);
    ::close(file);
    if (!result.started)
        throw fs::filesystem_error("launch", path,
                                   std::make_error_code(std::errc::no_such_file_or_directory));
    std::string output;
    try {
        output = fm.readFile(log);
    } catch (const fs::filesystem_error&) {
        // an unreadable log counts as empty text
    }
    if (required && result.status != 0) {
        std::cerr << "KelvoInstaller: " << path.string() << " exited with " << result.status << ": " << output
                  << "\n";
        throw InstallerFailure(
            "「" + path.filename().string() + "」執行失敗（結束碼 " + std::to_string(result.status) +
            "）。請再試一次；若仍失敗，請重新取得完整的安裝包。詳細內容已寫入紀錄（標準錯誤輸出）。");
    }
    return output;
}

std::map<std::string, std::string> InstallerOperations::info(const fs::path& bundle) const {
    auto entries = platform::stringEntriesOfPropertyList(fm.readFile(bundle / infoPath));
    if (!entries || (*entries)["CFBundleIdentifier"] != inputMethodIdentifier)
        throw InstallerFailure("目的地或安裝來源不是Kelvo；為避免覆蓋其他檔案，已停止。");
    return *entries;
}

std::optional<std::string> InstallerOperations::versionDescription(const fs::path& bundle) const {
    try {
        auto entries = info(bundle);
        auto shortVersion = entries.find("CFBundleShortVersionString");
        if (shortVersion == entries.end()) return std::nullopt;
        auto build = entries.find("CFBundleVersion");
        return shortVersion->second + "（build " + (build == entries.end() ? "?" : build->second) + "）";
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

std::optional<std::string> InstallerOperations::installedVersion() const {
    try {
        auto entries = info(destination_);
        auto shortVersion = entries.find("CFBundleShortVersionString");
        if (shortVersion == entries.end()) return std::nullopt;
        return shortVersion->second;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

void InstallerOperations::verifySeal(const fs::path& bundle) const {
    try {
        run(sealTool_, {"verify", bundle.string()}, true);
    } catch (const InstallerFailure&) {
        throw InstallerFailure("檔案驗證失敗：「" + bundle.string() +
                               "」的檔案與它的簽章不符。請重新取得完整的安裝包再安裝。");
    }
}

void InstallerOperations::verifyPayload() const {
    info(payload_);
    std::error_code error;
    bool executable = fs::is_regular_file(payload_ / executablePath, error) &&
                      ::access((payload_ / executablePath).c_str(), X_OK) == 0;
    if (!executable || !fs::exists(payload_ / dictionaryPath, error))
        throw InstallerFailure("安裝來源不完整，請重新取得完整安裝包。");
    verifySeal(payload_);
}

void InstallerOperations::verifyDestination() const {
    if (!anythingAt(destination_)) return;
    if (fs::is_symlink(destination_)) throw InstallerFailure("安裝目的地為符號連結，請先自行檢查。");
    info(destination_);
}

bool InstallerOperations::sameFiles(const fs::path& a, const fs::path& b,
                                    const std::vector<std::string>& files) const {
    for (const auto& file : files)
        if (fm.readFile(a / file) != fm.readFile(b / file)) return false;
    return true;
}

// An installer killed half-way leaves its staging copies beside the destination. The copy of the
// previous version is the installed bundle itself when the destination is gone: it goes back.
void InstallerOperations::recoverInterruptedInstall() const {
    const fs::path parent = destination_.parent_path();
    std::error_code error;
    std::vector<fs::path> staged, previous;
    for (const auto& entry : fs::directory_iterator(parent, error)) {
        const std::string name = entry.path().filename().string();
        if (!name.starts_with(".Kelvo-") || entry.is_symlink(error)) continue;
        if (name.ends_with(".previous.app"))
            previous.push_back(entry.path());
        else if (name.ends_with(".new.app") || name.ends_with(".failed.app"))
            staged.push_back(entry.path());
    }
    if (!previous.empty() && !anythingAt(destination_)) {
        fs::rename(previous.back(), destination_, error);
        if (!error) previous.pop_back();
    }
    for (const auto& leftover : staged)
        removeQuietly(leftover);
    if (anythingAt(destination_))
        for (const auto& leftover : previous)
            removeQuietly(leftover);
}

std::string InstallerOperations::install(bool registerSource) {
    recoverInterruptedInstall();
    verifyPayload();
    verifyDestination();
    if (anythingAt(destination_)) {
        bool same = false;
        try {
            same = sameFiles(payload_, destination_, {executablePath, infoPath, sealPath});
            if (same) verifySeal(destination_);
        } catch (const std::exception&) {
            same = false; // a damaged copy is replaced by a full install
        }
        if (same)
            return "目前已安裝相同版本：" + versionDescription(destination_).value_or("未知版本") +
                   "。已驗證檔案完整，保留目前輸入連線。";
    }
    const bool firstInstall = !anythingAt(destination_);
    const fs::path parent = destination_.parent_path();
    fm.createDirectories(parent);
    const fs::path staging = parent / (".Kelvo-" + platform::newUUIDString() + ".new.app");
    const fs::path backup = parent / (".Kelvo-" + platform::newUUIDString() + ".previous.app");
    Leftover stagingCopy(staging);
    fm.copyTree(payload_, staging);
    verifySeal(staging);
    bool backedUp = false;
    if (anythingAt(destination_)) {
        fm.move(destination_, backup);
        backedUp = true;
    }
    Leftover backupCopy(backedUp ? backup : fs::path());
    try {
        fm.move(staging, destination_);
    } catch (...) {
        std::error_code restore;
        if (backedUp) fs::rename(backup, destination_, restore);
        if (restore) backupCopy.keep(); // the only copy left of what was installed
        throw;
    }
    if (!registerSource) return "已複製並驗證輸入法";
    try {
        return registerInstalled(firstInstall);
    } catch (...) {
        // The previous bundle comes back, so the input method that worked keeps working.
        if (backedUp) {
            const fs::path failed = parent / (".Kelvo-" + platform::newUUIDString() + ".failed.app");
            std::error_code aside, restore;
            fs::rename(destination_, failed, aside);
            if (!aside) fs::rename(backup, destination_, restore);
            if (aside || restore) backupCopy.keep(); // the only copy left of what was installed
            if (!aside && !restore) removeQuietly(failed);
        }
        throw;
    }
}

std::string userMessageOf(const std::exception& error) {
    if (dynamic_cast<const InstallerFailure*>(&error)) return error.what();
    std::cerr << "KelvoInstaller: " << error.what() << "\n";
    if (const auto* file = dynamic_cast<const fs::filesystem_error*>(&error)) {
        const fs::path& where = file->path1().empty() ? file->path2() : file->path1();
        return "無法寫入「" + where.parent_path().string() + "」（" + reasonInWords(file->code()) +
               "）。請確認這個資料夾可以寫入、磁碟還有空間，再試一次；原本的設定與資料都沒有變動。";
    }
    return "安裝時發生意外的錯誤，請再試一次；詳細內容已寫入紀錄（標準錯誤輸出）。";
}

void InstallerOperations::uninstall(bool registerSource) {
    recoverInterruptedInstall();
    if (!anythingAt(destination_)) return;
    verifyDestination();
    if (registerSource) {
        std::optional<std::string> current = currentInputSourceID ? currentInputSourceID() : std::nullopt;
        if (!current || *current == inputMethodIdentifier)
            throw InstallerFailure("Kelvo 仍在使用中，請送出文字並切換到其他輸入來源後再解除安裝。");
        run(destination_ / executablePath, {"uninstall"}, true);
        stopServer();
    }
    fm.removeTree(destination_);
    // The folders installing made go too when they are left empty; the user's own files keep theirs.
    std::error_code error;
    for (const fs::path& folder : {destination_.parent_path(), platform::configHome() / "Kelvo"})
        if (fs::is_empty(folder, error)) fs::remove(folder, error);
}

void InstallerOperations::smokeTest() {
    verifyPayload();
    install(false);
    if (!installedVersion()) throw InstallerFailure("首次安裝檢查失敗");
    const ino_t before = fileNumber(destination_ / executablePath);
    std::string again = install(false);
    if (fileNumber(destination_ / executablePath) != before ||
        again.find("保留目前輸入連線") == std::string::npos)
        throw InstallerFailure("相同版本重裝不應替換檔案或中斷連線");
    verifyPayload();
    uninstall(false);
    if (anythingAt(destination_)) throw InstallerFailure("移除檢查失敗");
    std::error_code ignored;
    fs::create_directories(destination_, ignored);
    try {
        install(false);
    } catch (const fs::filesystem_error&) {
        return; // the folder has no Info.plist: nothing was written over it
    }
    throw InstallerFailure("錯誤：覆蓋了非Kelvo資料夾");
}

} // namespace kelvo::installer
