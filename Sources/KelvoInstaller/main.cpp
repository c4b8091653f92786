// KelvoInstaller: installs, updates or removes the Kelvo.app it carries in Contents/Resources, from
// its window or its command line.
#include "Bundle.hpp"
#include "FileOperations.hpp"
#include "InstallerModel.hpp"
#include "InstallerView.hpp"
#include "Windows.hpp"

#include <QApplication>
#include <QPixmap>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <iostream>

namespace {

using namespace kelvo;
using installer::InstallerOperations;
namespace fs = std::filesystem;

bool has(const std::vector<std::string>& arguments, const char* argument) {
    return std::find(arguments.begin(), arguments.end(), argument) != arguments.end();
}

// The installer's own bundle folder: the payload and the seal tool are inside it.
fs::path installerBundle() {
    if (auto bundle = platform::Bundle::main()) return bundle->path;
    return fs::path("KelvoInstaller.app");
}

std::shared_ptr<InstallerOperations> operations(const fs::path& destination) {
    const fs::path bundle = installerBundle();
    return std::make_shared<InstallerOperations>(bundle / "Contents/Resources/Kelvo.app", destination,
                                                 bundle / "Contents/MacOS/kelvo-seal");
}

int reportFailure(const std::exception& error) {
    std::cerr << installer::userMessageOf(error) << "\n";
    return 1;
}

// The background install of the window, without the window.
int installWorkerCheck(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    auto ops = operations(installer::installedBundleLocation());
    QThread* worker = QThread::create([ops] {
        try {
            std::string message = ops->install(true);
            QMetaObject::invokeMethod(QCoreApplication::instance(), [message] {
                std::cout << "PASS: GUI background update path\n" << message << std::endl;
                QCoreApplication::exit(0);
            });
        } catch (const std::exception& error) {
            std::string text = error.what();
            QMetaObject::invokeMethod(QCoreApplication::instance(), [text] {
                std::cerr << text << "\n";
                QCoreApplication::exit(1);
            });
        }
    });
    worker->start();
    int status = application.exec();
    worker->wait();
    delete worker;
    return status;
}

int runWindow(int argc, char** argv, const std::vector<std::string>& arguments) {
    const bool renderPreview = has(arguments, "--render-preview");
    if (renderPreview) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    platform::preferTaiwanGlyphs();
    installer::applyDarkAppearance();
    installer::InstallerModel model(operations(installer::installedBundleLocation()));
    if (has(arguments, "--preview-completion")) model.page = installer::InstallerPage::guide;
    QWidget window;
    window.setWindowTitle("Kelvo");
    window.resize(580, 380);
    auto* view = new installer::InstallerView(model);
    model.onChange = [view] { view->refresh(); };
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view);
    if (renderPreview) {
        window.show();
        QTimer::singleShot(200, &application, &QApplication::quit);
        application.exec();
        window.grab().save("build/installer-preview.png",
                           "PNG"); // a failed write is not the preview's concern
        return 0;
    }
    platform::centreOnScreen(window);
    window.show();
    window.raise();
    window.activateWindow();
    return application.exec();
}

constexpr const char* usage = "用法：KelvoInstaller [--install | --uninstall | --smoke-test]\n"
                              "  （不加參數）    開啟安裝視窗\n"
                              "  --install       安裝或更新Kelvo並註冊輸入來源\n"
                              "  --uninstall     解除安裝Kelvo，保留設定、學習資料與快捷文字\n"
                              "  --smoke-test    在暫存資料夾檢查安裝程式\n";

bool isOption(const std::string& argument) {
    for (const char* known : {"--install", "--uninstall", "--smoke-test", "--install-worker-check",
                              "--render-preview", "--preview-completion"})
        if (argument == known) return true;
    return false;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (!std::all_of(arguments.begin(), arguments.end(), isOption)) {
        std::cerr << usage;
        return 2;
    }
    try {
        if (has(arguments, "--install-worker-check")) return installWorkerCheck(argc, argv);
        if (has(arguments, "--smoke-test")) {
            auto ops =
                operations(fs::temp_directory_path() / ("KelvoInstallerTest-" + platform::newUUIDString()) /
                           "Input Methods" / "Kelvo.app");
            ops->smokeTest();
            std::error_code ignored;
            fs::remove_all(ops->destination().parent_path().parent_path(), ignored);
            std::cout << "PASS: payload signature, first install, update, uninstall, unrelated destination "
                         "protection\n";
            return 0;
        }
        if (has(arguments, "--uninstall")) {
            operations(installer::installedBundleLocation())->uninstall(true);
            std::cout << "已解除安裝Kelvo。個人設定、學習資料與快捷文字均保留。\n";
            return 0;
        }
        if (has(arguments, "--install")) {
            std::cout << operations(installer::installedBundleLocation())->install(true) << "\n";
            return 0;
        }
    } catch (const std::exception& error) {
        return reportFailure(error);
    }
    if (!has(arguments, "--render-preview") && !platform::prepareDisplay()) {
        std::cerr << "沒有可用的顯示器，無法開啟安裝視窗。\n" << usage;
        return 2;
    }
    return runWindow(argc, argv, arguments);
}
