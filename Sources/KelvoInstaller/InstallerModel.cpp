#include "InstallerModel.hpp"

#include "Bundle.hpp"
#include "ChildProcess.hpp"

#include <QMessageBox>
#include <QPushButton>
#include <thread>
#include <unistd.h>

namespace kelvo::installer {

InstallerModel::InstallerModel(std::shared_ptr<InstallerOperations> ops) : ops_(std::move(ops)) {
    installed = ops_->installedVersion();
    auto payload = platform::Bundle::at(ops_->payload());
    packageVersion = payload && !payload->shortVersion.empty() ? payload->shortVersion : "未知";
    startProgram = platform::startChild;
}

std::unique_ptr<QMessageBox> InstallerModel::removalAlert() {
    auto alert = std::make_unique<QMessageBox>();
    alert->setWindowTitle(QString::fromUtf8("解除安裝Kelvo？"));
    alert->setText(QString::fromUtf8("解除安裝Kelvo？"));
    alert->setInformativeText(
        QString::fromUtf8("請先按 Enter 送出正在輸入的文字，再切換到英文輸入來源（例如 English (US)）。"
                          "解除安裝會保留設定、學習資料與快捷文字。"));
    QPushButton* cancel = alert->addButton(QString::fromUtf8("取消"), QMessageBox::RejectRole);
    alert->addButton(QString::fromUtf8("解除安裝"), QMessageBox::DestructiveRole);
    // Return and Escape both keep Kelvo: removing takes a deliberate click.
    alert->setDefaultButton(cancel);
    alert->setEscapeButton(cancel);
    return alert;
}

bool InstallerModel::askToRemove() {
    auto alert = removalAlert();
    alert->exec();
    return alert->clickedButton() && alert->clickedButton()->text() == QString::fromUtf8("解除安裝");
}

void InstallerModel::changed() {
    if (onChange) onChange();
}

void InstallerModel::inBackground(std::function<std::string()> work,
                                  std::function<void(bool ok, const std::string&)> done) {
    std::thread([this, work = std::move(work), done = std::move(done)] {
        bool ok = true;
        std::string text;
        try {
            text = work();
        } catch (const std::exception& error) {
            ok = false;
            text = userMessageOf(error);
        }
        QMetaObject::invokeMethod(
            this, [done, ok, text] { done(ok, text); }, Qt::QueuedConnection);
    }).detach();
}

void InstallerModel::install() {
    if (busy) return;
    busy = true;
    failed = false;
    message = "正在驗證並更新輸入法…";
    changed();
    inBackground([ops = ops_] { return ops->install(true); },
                 [this](bool ok, const std::string& text) {
                     busy = false;
                     installed = ops_->installedVersion();
                     message = text;
                     failed = !ok;
                     if (ok) page = InstallerPage::guide;
                     changed();
                 });
}

void InstallerModel::remove() {
    if (busy || !installed) return;
    if (!(confirmRemoval ? confirmRemoval() : askToRemove())) return;
    busy = true;
    failed = false;
    changed();
    inBackground(
        [ops = ops_] {
            ops->uninstall(true);
            return std::string();
        },
        [this](bool ok, const std::string& text) {
            busy = false;
            installed = ops_->installedVersion();
            failed = !ok;
            message = ok ? "已解除安裝Kelvo。個人資料已保留。" : text;
            if (ok) page = InstallerPage::remove;
            changed();
        });
}

void InstallerModel::openKeyboard() {
    const std::string executable = (ops_->destination() / "Contents/MacOS/Kelvo").string();
    inBackground(
        [ops = ops_, executable] {
            ops->run(executable, {"enable"}, true);
            return std::string();
        },
        [this](bool ok, const std::string&) {
            if (ok) return;
            failed = true;
            message = "無法自動加入，請在鍵盤設定的輸入來源中手動加入Kelvo。";
            changed();
        });
    startProgram(keyboardSettingsCommand());
}

void InstallerModel::openInputSettings() {
    const std::string executable = (ops_->destination() / "Contents/MacOS/Kelvo").string();
    inBackground(
        [executable] {
            if (!platform::runChild({executable, "settings"}).started)
                throw std::runtime_error("無法啟動 " + executable);
            return std::string();
        },
        [this](bool ok, const std::string& text) {
            if (ok) return;
            failed = true;
            message = "無法開啟設定：" + text;
            changed();
        });
}

std::vector<std::string> keyboardSettingsCommand() {
    // GNOME's keyboard pane holds its input sources; elsewhere IBus's own preferences.
    for (const char* folder : {"/usr/bin", "/usr/local/bin"})
        if (::access((std::string(folder) + "/gnome-control-center").c_str(), X_OK) == 0)
            return {"gnome-control-center", "keyboard"};
    return {"ibus-setup"};
}

} // namespace kelvo::installer
