#include "Windows.hpp"

#include <QApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <X11/Xlib.h>
#include <cstdlib>

namespace kelvo::platform {

void centreOnScreen(QWidget& window) {
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window.move(screen->availableGeometry().center() - window.rect().center());
}

int runWindowApplication(const std::function<void()>& start, int closeAfterMilliseconds) {
    int argc = 1;
    char name[] = "Kelvo";
    char* argv[] = {name, nullptr};
    QApplication application(argc, argv);
    start();
    if (closeAfterMilliseconds >= 0)
        QTimer::singleShot(closeAfterMilliseconds, &application, &QApplication::quit);
    return application.exec();
}

namespace {

bool inWaylandSession() {
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return wayland && *wayland;
}

bool x11DisplayReachable() {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return false;
    XCloseDisplay(display);
    return true;
}

} // namespace

std::unique_ptr<DisplaySession> DisplaySession::open() {
    const char* x11 = std::getenv("DISPLAY");
    bool reachable = inWaylandSession() || (x11 && *x11 && x11DisplayReachable());
    if (!reachable) return nullptr;
    return std::unique_ptr<DisplaySession>(new DisplaySession);
}

DisplaySession::DisplaySession() {
    static int argc = 1;
    static char name[] = "Kelvo";
    static char* argv[] = {name, nullptr};
    application_ = std::make_unique<QApplication>(argc, argv);
    application_->setQuitOnLastWindowClosed(false); // the server outlives its windows
}

DisplaySession::~DisplaySession() = default;

bool DisplaySession::isOpen() {
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

void DisplaySession::runLoop() {
    QApplication::exec();
}

void DisplaySession::quitLoop() {
    QApplication::quit();
}

bool DisplaySession::placesOwnWindows() const {
    // Under XWayland the desktop's own IBus panel knows where the caret really is.
    return QGuiApplication::platformName() == "xcb" && !inWaylandSession();
}

} // namespace kelvo::platform
