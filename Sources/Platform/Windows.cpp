#include "Windows.hpp"

#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <X11/Xlib.h>
#include <cstdlib>
#include <filesystem>
#include <fontconfig/fontconfig.h>

namespace kelvo::platform {

std::optional<std::string> taiwanFontFamily() {
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("sans-serif:lang=zh-tw"));
    if (!pattern) return std::nullopt;
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match) return std::nullopt;
    std::optional<std::string> family;
    FcChar8* name = nullptr;
    FcLangSet* languages = nullptr;
    // The best match may still be a face without Han when none is installed.
    if (FcPatternGetLangSet(match, FC_LANG, 0, &languages) == FcResultMatch &&
        FcLangSetHasLang(languages, reinterpret_cast<const FcChar8*>("zh-tw")) == FcLangEqual &&
        FcPatternGetString(match, FC_FAMILY, 0, &name) == FcResultMatch)
        family = reinterpret_cast<const char*>(name);
    FcPatternDestroy(match);
    return family;
}

void preferTaiwanGlyphs() {
    auto family = taiwanFontFamily();
    if (!family) return;
    QFont font = QApplication::font();
    QStringList families = font.families();
    if (families.isEmpty()) families << font.family();
    families.removeAll(QString::fromStdString(*family));
    families << QString::fromStdString(*family);
    font.setFamilies(families);
    QApplication::setFont(font);
}

bool compositingActive() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    if (!display) return false;
    std::string selection = "_NET_WM_CM_S" + std::to_string(DefaultScreen(display));
    Atom manager = XInternAtom(display, selection.c_str(), False);
    return XGetSelectionOwner(display, manager) != None;
}

void centreOnScreen(QWidget& window) {
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window.move(screen->availableGeometry().center() - window.rect().center());
}

int runWindowApplication(const std::function<void()>& start, int closeAfterMilliseconds) {
    int argc = 1;
    char name[] = "Kelvo";
    char* argv[] = {name, nullptr};
    QApplication application(argc, argv);
    preferTaiwanGlyphs();
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

// The compositor's socket: WAYLAND_DISPLAY, relative to XDG_RUNTIME_DIR unless it is a path.
bool waylandSocketPresent() {
    std::filesystem::path socket = std::getenv("WAYLAND_DISPLAY");
    if (socket.is_relative()) {
        const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        if (!runtime) return false;
        socket = std::filesystem::path(runtime) / socket;
    }
    std::error_code error;
    return std::filesystem::is_socket(socket, error);
}

bool x11DisplayReachable() {
    const char* x11 = std::getenv("DISPLAY");
    if (!x11 || !*x11) return false;
    Display* display = XOpenDisplay(nullptr);
    if (!display) return false;
    XCloseDisplay(display);
    return true;
}

// Qt draws on Wayland only through a plugin that is packaged apart (qt6-wayland).
bool waylandPluginInstalled() {
    const QDir platforms(QLibraryInfo::path(QLibraryInfo::PluginsPath) + "/platforms");
    return !platforms.entryList({"libqwayland*.so"}, QDir::Files).isEmpty();
}

} // namespace

bool prepareDisplay() {
    if (x11DisplayReachable()) return true;
    if (!inWaylandSession() || !waylandSocketPresent() || !waylandPluginInstalled()) return false;
    if (!std::getenv("QT_QPA_PLATFORM")) ::setenv("QT_QPA_PLATFORM", "wayland", 1);
    return true;
}

std::unique_ptr<DisplaySession> DisplaySession::open() {
    if (!prepareDisplay()) return nullptr; // no windows, but typing works
    return std::unique_ptr<DisplaySession>(new DisplaySession);
}

DisplaySession::DisplaySession() {
    static int argc = 1;
    static char name[] = "Kelvo";
    static char* argv[] = {name, nullptr};
    application_ = std::make_unique<QApplication>(argc, argv);
    application_->setQuitOnLastWindowClosed(false); // the server outlives its windows
    preferTaiwanGlyphs();
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
