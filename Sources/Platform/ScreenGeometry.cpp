#include "ScreenGeometry.hpp"

#include <QGuiApplication>
#include <QScreen>

namespace kelvo::platform {
namespace {

// Where y = 0 lies in the host's coordinates: the bottom edge of the main screen, counted from the
// top. Without a display there is nothing to flip against.
double mainScreenBottom() {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return 0;
    const QScreen* main = QGuiApplication::primaryScreen();
    if (!main) return 0;
    QRect frame = main->geometry();
    return frame.y() + frame.height();
}

Rect flipped(const QRect& rect) {
    return fromTopLeftOrigin(
        Rect{double(rect.x()), double(rect.y()), double(rect.width()), double(rect.height())});
}

} // namespace

std::vector<Screen> currentScreens() {
    std::vector<Screen> screens;
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return screens;
    QList<QScreen*> all = QGuiApplication::screens();
    QScreen* main = QGuiApplication::primaryScreen();
    if (main) screens.push_back({flipped(main->geometry()), flipped(main->availableGeometry())});
    for (QScreen* screen : all)
        if (screen != main)
            screens.push_back({flipped(screen->geometry()), flipped(screen->availableGeometry())});
    return screens;
}

Rect fromTopLeftOrigin(const Rect& rect) {
    return Rect{rect.x, mainScreenBottom() - rect.y - rect.height, rect.width, rect.height};
}

Rect toTopLeftOrigin(const Rect& rect) {
    return fromTopLeftOrigin(rect); // the flip is its own inverse
}

} // namespace kelvo::platform
