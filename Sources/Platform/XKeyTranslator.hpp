#pragma once

#include "InputClient.hpp"
#include "KeyCodes.hpp"

#include <optional>
#include <set>

namespace kelvo::platform {

// Key events as X11-based frameworks (IBus, Fcitx5) deliver them: an X keysym, the evdev code of
// the physical key and X modifier state bits, turned into the host's event model. One translator
// per input context: it remembers the keys held, to tell auto-repeats.
class XKeyTranslator {
public:
    // The event for the host, or none for a release the host does not see (releases of keys that
    // are no modifier, and of Caps Lock, which changes on its press).
    std::optional<KeyEvent> translate(unsigned keysym, unsigned evdevCode, unsigned state, bool isRelease,
                                      double timestamp);

private:
    std::set<unsigned> down_;
};

// The key-down event for a press: key code, the characters it types on a US layout, modifiers.
KeyEvent keyEventFromX(unsigned keysym, unsigned evdevCode, unsigned state, bool isRepeat, double timestamp);

// Seconds on a steady clock, as key events carry them.
double secondsNow();

// A press of a key that types no character, now: what a framework's own buttons (page arrows)
// stand for.
KeyEvent pressOf(KeyCode key);

} // namespace kelvo::platform
