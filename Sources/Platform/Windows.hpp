#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

class QApplication;
class QWidget;

namespace kelvo::platform {

// Runs the process as an ordinary windowed application: `start` shows its windows; answers the exit
// status once the last window is closed. `closeAfterMilliseconds` (tests) quits it.
int runWindowApplication(const std::function<void()>& start, int closeAfterMilliseconds = -1);

// The face fontconfig prefers for Chinese as written in Taiwan, whatever the locale; none when no
// installed face covers it.
std::optional<std::string> taiwanFontFamily();

// Makes Han text in this application's windows use that face (Latin text keeps the desktop's font):
// under an English locale the fallback would otherwise be a Japanese or Simplified Chinese face,
// whose glyph shapes and punctuation differ. Call it once the QApplication exists.
void preferTaiwanGlyphs();

// Whether a compositing manager runs on the X display, so that windows may have transparent parts.
bool compositingActive();

// Centres a window on the primary screen's free area; the window manager may place it anywhere.
void centreOnScreen(QWidget& window);

// Whether Qt can reach a display: an X server, or a Wayland compositor through Qt's plugin (it is
// then asked for, as Qt would try X11 first outside a session that says it is Wayland's). Without
// one, Qt would abort on its first window.
bool prepareDisplay();

// The windowed side of a process that may run without a display (the input method server): a
// QApplication when a display can be reached.
class DisplaySession {
public:
    // None without a display.
    static std::unique_ptr<DisplaySession> open();
    ~DisplaySession();
    // Whether the process may place its own windows (X11); under Wayland it may not.
    bool placesOwnWindows() const;
    // Whether a session is open in this process; its loop, and ending it.
    static bool isOpen();
    static void runLoop();
    static void quitLoop();

private:
    DisplaySession();
    std::unique_ptr<QApplication> application_;
};

} // namespace kelvo::platform
