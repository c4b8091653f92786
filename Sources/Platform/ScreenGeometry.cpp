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

std::vector<ScaledScreen> currentScaledScreens() {
    std::vector<ScaledScreen> screens;
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return screens;
    QScreen* main = QGuiApplication::primaryScreen();
    QList<QScreen*> all = QGuiApplication::screens();
    all.removeAll(main);
    if (main) all.prepend(main);
    for (QScreen* screen : all) {
        QRect frame = screen->geometry();
        screens.push_back(
            {Rect{double(frame.x()), double(frame.y()), double(frame.width()), double(frame.height())},
             screen->devicePixelRatio()});
    }
    return screens;
}

Rect logicalFromDevicePixels(const Rect& device, const std::vector<ScaledScreen>& screens) {
    if (screens.empty()) return device;
    const ScaledScreen* holding = &screens.front();
    for (const ScaledScreen& screen : screens) {
        const Rect& frame = screen.logicalFrame;
        Rect deviceFrame{frame.x, frame.y, frame.width * screen.pixelRatio, frame.height * screen.pixelRatio};
        if (deviceFrame.contains(device.x, device.y)) {
            holding = &screen;
            break;
        }
    }
    const double ratio = holding->pixelRatio > 0 ? holding->pixelRatio : 1;
    const Rect& frame = holding->logicalFrame;
    return Rect{frame.x + (device.x - frame.x) / ratio, frame.y + (device.y - frame.y) / ratio,
                device.width / ratio, device.height / ratio};
}

Rect fromTopLeftOrigin(const Rect& rect) {
    return Rect{rect.x, mainScreenBottom() - rect.y - rect.height, rect.width, rect.height};
}

Rect toTopLeftOrigin(const Rect& rect) {
    return fromTopLeftOrigin(rect); // the flip is its own inverse
}

} // namespace kelvo::platform
