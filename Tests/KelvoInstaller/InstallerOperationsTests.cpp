#include "../Support/TemporaryFolder.hpp"
#include "InstallerOperations.hpp"
#include "Seal.hpp"

#include <gtest/gtest.h>

using namespace kelvo::installer;
using kelvo::platform::ChildResult;
namespace fs = std::filesystem;

namespace {

const char* const executable = "Contents/MacOS/Kelvo";

// Writes a sealed Kelvo bundle whose executable answers its arguments.
void makeBundle(const kelvo::testing::TemporaryFolder& folder, const std::string& name,
                const std::string& build,
                const std::string& identifier = InstallerOperations::inputMethodIdentifier) {
    std::string plist =
        "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>CFBundleIdentifier</key><string>" +
        identifier + "</string><key>CFBundleShortVersionString</key><string>1.0</string>";
    if (!build.empty()) plist += "<key>CFBundleVersion</key><string>" + build + "</string>";
    plist += "</dict></plist>";
    folder.write(name + "/Contents/Info.plist", plist);
    fs::path program = folder.write(name + "/" + executable, "#!/bin/sh\necho \"Kelvo " + build + " $1\"\n");
    fs::permissions(program, fs::perms::owner_all | fs::perms::group_read | fs::perms::others_read);
    folder.write(name + "/Contents/Resources/data/data.txt", "# dictionary\n");
    ASSERT_TRUE(kelvo::platform::seal::sign(folder / name).ok);
}

class InstallerTest : public ::testing::Test {
protected:
    kelvo::testing::TemporaryFolder folder;
    fs::path destination = folder / "Input Methods/Kelvo.app";
    InstallerOperations ops{folder / "payload/Kelvo.app", destination, KELVO_SEAL_TOOL};
    std::vector<std::vector<std::string>> launched;
    int serverStops = 0;
    std::string failingArgument; // a command with this argument exits 1

    void SetUp() override {
        makeBundle(folder, "payload/Kelvo.app", "7");
        ops.currentInputSourceID = [] { return std::optional<std::string>("xkb:us::eng"); };
        ops.stopRunningServer = [this] { ++serverStops; };
        ops.serverRunning = [] { return true; };
        ops.ibusRunning = [] { return false; };
        // ibus is recorded, not run; the rest runs, unless told to fail.
        ops.launch = [this](const std::vector<std::string>& command, int output) {
            launched.push_back(command);
            for (const auto& part : command)
                if (!failingArgument.empty() && part.find(failingArgument) != std::string::npos)
                    return ChildResult{true, 1, ""};
            if (command[0] == "ibus") return ChildResult{true, 0, ""};
            return kelvo::platform::runChildWritingTo(command, output);
        };
    }

    // What is installed runs as before: its executable and its seal are intact.
    void expectInstalledBuild(const std::string& build) {
        EXPECT_EQ(kelvo::testing::TemporaryFolder::read(destination / executable),
                  "#!/bin/sh\necho \"Kelvo " + build + " $1\"\n");
        EXPECT_TRUE(kelvo::platform::seal::verify(destination).ok);
    }

    std::vector<std::string> leftovers() {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(destination.parent_path()))
            if (entry.path().filename().string().starts_with(".Kelvo-"))
                names.push_back(entry.path().filename());
        return names;
    }

    template <typename Call> std::string failureOf(Call call) {
        try {
            call();
        } catch (const std::exception& error) {
            return error.what();
        }
        return "no failure";
    }
};

} // namespace

TEST_F(InstallerTest, UpdateReplacesTheBundleAndRegistersIt) {
    ops.install(false);
    fs::remove_all(folder / "payload");
    makeBundle(folder, "payload/Kelvo.app", "8");
    std::string message = ops.install(true);
    expectInstalledBuild("8");
    EXPECT_TRUE(leftovers().empty());
    EXPECT_TRUE(message.starts_with("檔案更新並驗證完成：1.0（build 8）。\n位置：" + destination.string() +
                                    "\n設定、學習資料與快捷文字均保留。\n\nKelvo 8 register\n\n"))
        << message;
    EXPECT_EQ(serverStops, 1);
    for (const auto& command : launched) // nothing is signalled by process name
        EXPECT_EQ(command[0].find("kill"), std::string::npos) << command[0];

    fs::remove_all(folder / "payload");
    makeBundle(folder, "payload/Kelvo.app", "9");
    ops.currentInputSourceID = [] {
        return std::optional<std::string>(InstallerOperations::inputMethodIdentifier);
    };
    EXPECT_NE(ops.install(true).find("目前仍選用Kelvo；為保護尚未送出的組字，未強制關閉服務。"),
              std::string::npos);
    fs::remove_all(folder / "payload");
    makeBundle(folder, "payload/Kelvo.app", "10");
    ops.currentInputSourceID = [] { return std::nullopt; };
    EXPECT_NE(ops.install(true).find("無法確認目前輸入來源，未強制關閉服務。"), std::string::npos);
    // The service is stopped only while the user types with something else.
    EXPECT_EQ(serverStops, 1);
}

// A daemon started before the first install does not know Kelvo. With no Kelvo server to disturb it
// restarts (the installer's end-to-end test types with it then); with a server running, the user is
// told to log in again.
TEST_F(InstallerTest, AnInstallTheRunningDaemonCannotTakeInAsksToLogInAgain) {
    ops.ibusRunning = [] { return true; };
    const std::string message = ops.install(true);
    EXPECT_TRUE(message.starts_with("已安裝並驗證完成：")) << message;
    EXPECT_TRUE(
        message.ends_with("執行中的 IBus 尚未載入Kelvo：請登出再登入，然後從輸入來源選單加入Kelvo。"));
    for (const auto& command : launched)
        EXPECT_NE(command, (std::vector<std::string>{"ibus", "restart"}));
}

TEST_F(InstallerTest, CopiesLeftByAKilledInstallerAreCleanedOrRestored) {
    ops.install(false);
    // Killed after moving the installed bundle aside and before moving the new one in.
    fs::rename(destination, destination.parent_path() / ".Kelvo-A.previous.app");
    makeBundle(folder, "Input Methods/.Kelvo-B.new.app", "8");
    makeBundle(folder, "Input Methods/.Kelvo-C.failed.app", "8");
    fs::create_directories(folder / "Input Methods/.Kelvo-mine"); // not the installer's
    fs::remove_all(folder / "payload");
    makeBundle(folder, "payload/Kelvo.app", "9");
    ops.install(false);
    expectInstalledBuild("9");
    EXPECT_EQ(leftovers(), std::vector<std::string>{".Kelvo-mine"});

    // Killed after the new bundle was in place: the copy of the old one goes at the next run.
    makeBundle(folder, "Input Methods/.Kelvo-D.previous.app", "8");
    ops.uninstall(false);
    EXPECT_EQ(leftovers(), std::vector<std::string>{".Kelvo-mine"});
}

// The smoke test covers a folder without an Info.plist.
TEST_F(InstallerTest, ForeignFoldersAndLinksAreNeverTouched) {
    makeBundle(folder, "Input Methods/Kelvo.app", "1", "org.example.Other");
    EXPECT_EQ(failureOf([&] { ops.install(false); }),
              "目的地或安裝來源不是Kelvo；為避免覆蓋其他檔案，已停止。");
    EXPECT_EQ(failureOf([&] { ops.uninstall(false); }),
              "目的地或安裝來源不是Kelvo；為避免覆蓋其他檔案，已停止。");
    EXPECT_TRUE(fs::exists(destination / executable));
    fs::remove_all(destination);

    makeBundle(folder, "elsewhere/Kelvo.app", "1");
    fs::create_directory_symlink(folder / "elsewhere/Kelvo.app", destination);
    EXPECT_EQ(failureOf([&] { ops.install(false); }), "安裝目的地為符號連結，請先自行檢查。");
    EXPECT_EQ(failureOf([&] { ops.uninstall(false); }), "安裝目的地為符號連結，請先自行檢查。");
    EXPECT_TRUE(fs::is_symlink(destination));
    EXPECT_TRUE(fs::exists(folder / "elsewhere/Kelvo.app" / executable));
}

TEST_F(InstallerTest, IncompleteOrAlteredPayloadsAreRefused) {
    const fs::path payload = folder / "payload/Kelvo.app";
    fs::rename(payload / executable, folder / "kept");
    EXPECT_EQ(failureOf([&] { ops.install(false); }), "安裝來源不完整，請重新取得完整安裝包。");
    fs::rename(folder / "kept", payload / executable);
    fs::rename(payload / "Contents/Resources/data/data.txt", folder / "kept");
    EXPECT_EQ(failureOf([&] { ops.install(false); }), "安裝來源不完整，請重新取得完整安裝包。");
    fs::rename(folder / "kept", payload / "Contents/Resources/data/data.txt");
    folder.write("payload/Kelvo.app/Contents/Resources/data/data.txt", "# altered\n");
    EXPECT_TRUE(failureOf([&] { ops.install(false); }).starts_with("檔案驗證失敗："));
    EXPECT_FALSE(fs::exists(destination));
}

TEST_F(InstallerTest, UninstallRefusesWhileKelvoIsInUse) {
    ops.uninstall(true); // nothing installed: nothing to do
    ops.install(false);
    ops.currentInputSourceID = [] {
        return std::optional<std::string>(InstallerOperations::inputMethodIdentifier);
    };
    const std::string inUse = "Kelvo 仍在使用中，請送出文字並切換到其他輸入來源後再解除安裝。";
    EXPECT_EQ(failureOf([&] { ops.uninstall(true); }), inUse);
    ops.currentInputSourceID = [] { return std::nullopt; };
    EXPECT_EQ(failureOf([&] { ops.uninstall(true); }), inUse);
    EXPECT_TRUE(fs::exists(destination));
    ops.currentInputSourceID = [] { return std::optional<std::string>("xkb:us::eng"); };
    ops.uninstall(true);
    EXPECT_FALSE(fs::exists(destination));
    EXPECT_EQ(launched.back()[1], "uninstall");
    EXPECT_EQ(serverStops, 1);
}

TEST_F(InstallerTest, AFaultAtAnyStepLeavesThePreviousBundleWorking) {
    ops.install(false);
    fs::remove_all(folder / "payload");
    makeBundle(folder, "payload/Kelvo.app", "8");
    const fs::path destinationCopy = destination;
    struct Fault {
        const char* step;
        std::function<void()> inject;
    };
    const Fault faults[] = {
        {"copy",
         [&] {
             ops.fm.faultHook = [](std::string_view operation, const fs::path&) {
                 return operation == "copy" ? std::make_error_code(std::errc::no_space_on_device)
                                            : std::error_code();
             };
         }},
        {"seal check of the staged copy", [&] { failingArgument = ".new.app"; }},
        {"move to backup",
         [&] {
             ops.fm.faultHook = [](std::string_view operation, const fs::path& path) {
                 return operation == "move" && path.string().find(".previous.app") != std::string::npos
                            ? std::make_error_code(std::errc::permission_denied)
                            : std::error_code();
             };
         }},
        {"final move",
         [&] {
             ops.fm.faultHook = [destinationCopy](std::string_view operation, const fs::path& path) {
                 return operation == "move" && path == destinationCopy
                            ? std::make_error_code(std::errc::io_error)
                            : std::error_code();
             };
         }},
        {"register", [&] { failingArgument = "register"; }},
    };
    for (const Fault& fault : faults) {
        ops.fm.faultHook = nullptr;
        failingArgument.clear();
        fault.inject();
        EXPECT_NE(failureOf([&] { ops.install(true); }), "no failure") << fault.step;
        expectInstalledBuild("7");
        EXPECT_EQ(leftovers(), std::vector<std::string>()) << fault.step;
    }
}
