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

// A rectangle given with y growing downwards from the top of the main screen (as X11 and IBus give
// it), in the host's coordinates; and back.
Rect fromTopLeftOrigin(const Rect& rect);
Rect toTopLeftOrigin(const Rect& rect);

} // namespace kelvo::platform
