#include "Windows.hpp"

#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

namespace kelvo::platform {

int runSimpleWindow(const std::string& title, const std::string& note, int closeAfterMilliseconds) {
    int argc = 1;
    char name[] = "Kelvo";
    char* argv[] = {name, nullptr};
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QString::fromStdString(title));
    auto* layout = new QVBoxLayout(&window);
    auto* label = new QLabel(QString::fromStdString(note));
    label->setWordWrap(true);
    layout->addWidget(label);
    window.resize(480, 200);
    window.show();
    window.raise();
    window.activateWindow();
    if (closeAfterMilliseconds >= 0)
        QTimer::singleShot(closeAfterMilliseconds, &application, &QApplication::quit);
    return application.exec();
}

} // namespace kelvo::platform
