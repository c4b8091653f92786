#include "../Support/TemporaryFolder.hpp"
#include "InstallerView.hpp"
#include "Seal.hpp"

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace kelvo::installer;
using kelvo::platform::ChildResult;
namespace fs = std::filesystem;

namespace {

class InstallerModelTest : public ::testing::Test {
protected:
    kelvo::testing::TemporaryFolder folder;
    std::shared_ptr<InstallerOperations> ops;
    std::atomic<int> registrations = 0;
    std::optional<std::string> current = std::string("xkb:us::eng");

    void SetUp() override {
        folder.write("payload/Kelvo.app/Contents/Info.plist",
                     "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>CFBundleIdentifier</key>"
                     "<string>org.kelvo.inputmethod.Kelvo</string><key>CFBundleShortVersionString</key>"
                     "<string>2.0</string></dict></plist>");
        fs::path program = folder.write("payload/Kelvo.app/Contents/MacOS/Kelvo", "#!/bin/sh\necho ok\n");
        fs::permissions(program, fs::perms::owner_all);
        folder.write("payload/Kelvo.app/Contents/Resources/data/data.txt", "#\n");
        ASSERT_TRUE(kelvo::platform::seal::sign(folder / "payload/Kelvo.app").ok);
        ops = std::make_shared<InstallerOperations>(folder / "payload/Kelvo.app", folder / "dest/Kelvo.app",
                                                    KELVO_SEAL_TOOL);
        ops->currentInputSourceID = [this] { return current; };
        ops->stopRunningServer = [] {};
        ops->serverRunning = [] { return true; };
        ops->ibusRunning = [] { return false; };
        ops->launch = [this](const std::vector<std::string>& command, int output) {
            if (command[0] == "ibus") return ChildResult{true, 0, ""};
            if (command.size() > 1 && command[1] == "register") ++registrations;
            return kelvo::platform::runChildWritingTo(command, output);
        };
    }

    static void waitWhileBusy(InstallerModel& model) {
        QElapsedTimer clock;
        clock.start();
        while (model.busy && clock.elapsed() < 10000)
            QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
};

} // namespace

TEST_F(InstallerModelTest, InstallingTwiceQuicklyStartsOneInstallAndEndsOnTheGuide) {
    InstallerModel model(ops);
    InstallerView view(model);
    model.onChange = [&] { view.refresh(); };
    EXPECT_EQ(model.packageVersion, "2.0");
    EXPECT_FALSE(view.button("解除安裝")->isEnabled()); // nothing installed
    view.button("安裝／更新")->click();
    view.button("安裝／更新")->click();
    EXPECT_TRUE(model.busy);
    waitWhileBusy(model);
    EXPECT_EQ(registrations, 1);
    EXPECT_EQ(model.page, InstallerPage::guide);
    EXPECT_EQ(view.title(), QString::fromUtf8("安裝完成"));
    EXPECT_EQ(model.installed, "2.0");
    EXPECT_FALSE(view.showsServiceNote());
}

TEST_F(InstallerModelTest, AnInstallThatLeftTheServiceRunningShowsTheNote) {
    current = "org.kelvo.inputmethod.Kelvo";
    InstallerModel model(ops);
    InstallerView view(model);
    model.onChange = [&] { view.refresh(); };
    model.install();
    waitWhileBusy(model);
    EXPECT_TRUE(view.showsServiceNote());
}

TEST_F(InstallerModelTest, AFailedInstallShowsItsErrorInRedAndStays) {
    folder.write("payload/Kelvo.app/Contents/Resources/data/data.txt", "# altered after sealing\n");
    InstallerModel model(ops);
    InstallerView view(model);
    model.onChange = [&] { view.refresh(); };
    model.install();
    waitWhileBusy(model);
    EXPECT_TRUE(model.failed);
    EXPECT_EQ(model.page, InstallerPage::update);
    EXPECT_TRUE(view.messageText().startsWith(QString::fromUtf8("檔案驗證失敗：")))
        << view.messageText().toStdString();
    EXPECT_TRUE(view.messageIsRed());
}

TEST_F(InstallerModelTest, RemovalAsksFirstAndNeedsAnInstalledBundle) {
    InstallerModel model(ops);
    int asked = 0;
    model.confirmRemoval = [&] {
        ++asked;
        return false;
    };
    model.remove(); // nothing installed: nothing happens
    EXPECT_EQ(asked, 0);
    ops->install(false);
    model.installed = ops->installedVersion();
    model.remove(); // cancelled
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(model.busy);
    EXPECT_TRUE(fs::exists(ops->destination()));
    model.confirmRemoval = [] { return true; };
    model.remove();
    waitWhileBusy(model);
    EXPECT_FALSE(fs::exists(ops->destination()));
    EXPECT_EQ(model.page, InstallerPage::remove);
    EXPECT_EQ(model.message, "已解除安裝Kelvo。個人資料已保留。");
    EXPECT_FALSE(model.installed);
}

TEST(InstallerAlert, ReturnAndEscapeKeepKelvo) {
    auto alert = InstallerModel::removalAlert();
    ASSERT_NE(alert->defaultButton(), nullptr);
    EXPECT_EQ(alert->defaultButton()->text(), QString::fromUtf8("取消"));
    EXPECT_EQ(alert->escapeButton(), alert->defaultButton());
    EXPECT_FALSE(alert->informativeText().contains("ABC"));
}

TEST(InstallerMessages, FileErrorsReachTheUserInChineseWithWhatToDo) {
    const fs::filesystem_error readOnly("cannot copy", "/home/u/.local/share/Input Methods/Kelvo.app/x",
                                        std::make_error_code(std::errc::read_only_file_system));
    const std::string message = userMessageOf(readOnly);
    EXPECT_NE(message.find("磁碟是唯讀的"), std::string::npos) << message;
    EXPECT_NE(message.find("再試一次"), std::string::npos);
    EXPECT_EQ(message.find("filesystem"), std::string::npos); // the library's words go to the log
    EXPECT_EQ(userMessageOf(InstallerFailure("已經是中文")), "已經是中文");
    EXPECT_EQ(userMessageOf(std::runtime_error("bad_alloc-like")).find("bad"), std::string::npos);
}
