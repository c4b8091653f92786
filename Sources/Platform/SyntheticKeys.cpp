#include "SyntheticKeys.hpp"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace kelvo::platform {

namespace {

Display* display() {
    static Display* opened = XOpenDisplay(nullptr); // kept for the process
    return opened;
}

} // namespace

bool pressKeyThroughXServer(const std::string& characters) {
    Display* display = kelvo::platform::display();
    if (!display) return false;
    // Characters and key names ("Down") alike are keysym names.
    KeySym symbol = characters == "\r" ? XK_Return : XStringToKeysym(characters.c_str());
    if (symbol == NoSymbol) return false;
    KeyCode code = XKeysymToKeycode(display, symbol);
    if (code == 0) return false;
    XTestFakeKeyEvent(display, code, True, CurrentTime);
    XTestFakeKeyEvent(display, code, False, CurrentTime);
    XFlush(display);
    return true;
}

bool clickThroughXServer(int x, int y) {
    Display* display = kelvo::platform::display();
    if (!display) return false;
    XTestFakeMotionEvent(display, -1, x, y, CurrentTime);
    XTestFakeButtonEvent(display, 1, True, CurrentTime);
    XTestFakeButtonEvent(display, 1, False, CurrentTime);
    XFlush(display);
    return true;
}

} // namespace kelvo::platform
