#include "SyntheticKeys.hpp"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace kelvo::platform {

bool pressKeyThroughXServer(const std::string& characters) {
    static Display* display = XOpenDisplay(nullptr); // kept for the process
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

} // namespace kelvo::platform
