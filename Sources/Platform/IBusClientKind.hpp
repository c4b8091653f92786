#pragma once

#include "ScreenGeometry.hpp"

#include <string_view>

namespace kelvo::platform {

// What the name an IBus client gives its input context ("gtk3-im:mousepad", "gtk4-im:…",
// "QIBusInputContext", "gnome-shell", …) tells of how it behaves. Unknown clients behave as GTK's.
struct IBusClientKind {
    // Qt reports the caret in its own logical pixels; GTK and the others in the screen's pixels.
    bool reportsLogicalPixels = false;
    // Who inserts the marked text when a composition ends without a commit. Qt inserts it itself
    // when it resets the composition or moves the focus, whatever the engine asks; the other clients
    // and the daemon insert it when the engine shows it in the mode that asks for it, except GTK 4,
    // which drops it when it resets the composition (a click into the text).
    bool insertsMarkedTextItself = false;
    bool dropsMarkedTextOnReset = false;

    static IBusClientKind named(std::string_view clientName);

    // The caret as the client reported it, in logical pixels with y growing downwards.
    Rect logicalCaret(const Rect& reported, const std::vector<ScaledScreen>& screens) const;
};

} // namespace kelvo::platform
