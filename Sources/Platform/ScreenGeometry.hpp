#pragma once

#include <vector>

namespace kelvo::platform {

// A rectangle in screen points, in the host's coordinates: y grows upwards from the bottom of the
// main screen.
struct Rect {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;

    double maxX() const { return x + width; }
    double maxY() const { return y + height; }
    bool contains(double px, double py) const { return px >= x && px < maxX() && py >= y && py < maxY(); }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// A screen's whole frame and the part windows may use (without panels and docks).
struct Screen {
    Rect frame;
    Rect visibleFrame;
};

// The screens of the display, the main screen first.
std::vector<Screen> currentScreens();

// A screen as Qt places windows on it: its frame in logical pixels, y growing downwards from the
// top-left of the desktop, and how many device pixels make one logical pixel there. Its top-left
// corner is the same in both units.
struct ScaledScreen {
    Rect logicalFrame;
    double pixelRatio = 1;
};

std::vector<ScaledScreen> currentScaledScreens();

// A rectangle in device pixels (as IBus clients report the caret), y down, in logical pixels: it is
// measured from the corner of the screen whose device frame holds it (else the first screen).
Rect logicalFromDevicePixels(const Rect& device, const std::vector<ScaledScreen>& screens);

// A rectangle given with y growing downwards from the top of the main screen (as X11 and IBus give
// it), in the host's coordinates; and back.
Rect fromTopLeftOrigin(const Rect& rect);
Rect toTopLeftOrigin(const Rect& rect);

} // namespace kelvo::platform
