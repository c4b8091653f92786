#include "Interactive.hpp"

#include "Screen.hpp"
#include "TerminalInput.hpp"
#include "TextField.hpp"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <termios.h>
#include <unistd.h>

namespace kelvo::term {
namespace {

termios savedTerminal;
volatile std::sig_atomic_t terminalIsRaw = 0;

void restoreTerminal() {
    if (!terminalIsRaw) return;
    ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &savedTerminal);
    terminalIsRaw = 0;
}

// Only async-signal-safe calls: restore, then die of the same signal.
void restoreAndReraise(int signal) {
    if (terminalIsRaw) ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &savedTerminal);
    terminalIsRaw = 0;
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

class RawTerminal {
public:
    RawTerminal() {
        if (::tcgetattr(STDIN_FILENO, &savedTerminal) != 0) return;
        termios raw = savedTerminal;
        ::cfmakeraw(&raw);
        raw.c_cc[VMIN] = 1;
        raw.c_cc[VTIME] = 0;
        for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGABRT, SIGSEGV, SIGBUS, SIGFPE})
            std::signal(signal, restoreAndReraise);
        std::atexit(restoreTerminal);
        if (::tcsetattr(STDIN_FILENO, TCSAFLUSH, &raw) == 0) terminalIsRaw = 1;
    }
    ~RawTerminal() { restoreTerminal(); }
    RawTerminal(const RawTerminal&) = delete;
    RawTerminal& operator=(const RawTerminal&) = delete;
    bool ok() const { return terminalIsRaw != 0; }
};

void draw(const std::string& screen) {
    std::fwrite(screen.data(), 1, screen.size(), stdout);
    std::fflush(stdout);
}

} // namespace

int runInteractive(const SharedResources& resources, const TermSettings& settings) {
    RawTerminal terminal;
    if (!terminal.ok()) {
        std::fprintf(stderr, "kelvo-term: cannot put the terminal in raw mode\n");
        return 1;
    }
    Session session(resources, settings);
    TextField field(/*multiline=*/true);
    bool chinese = true;
    bool running = true;
    while (running) {
        draw(renderScreen(screenStateOf(session.engine(), field.text(), chinese)));
        char bytes[64];
        ssize_t count = ::read(STDIN_FILENO, bytes, sizeof bytes);
        if (count <= 0) break;
        for (const TerminalEvent& event :
             decodeTerminalInput(std::string_view(bytes, static_cast<std::size_t>(count)))) {
            if (event.kind == TerminalEvent::Kind::quit) {
                running = false;
                break;
            }
            if (event.kind == TerminalEvent::Kind::toggleMode) {
                // As a Shift tap: switching to English commits the composition first.
                if (chinese)
                    if (auto text = session.flush()) field.insert(*text);
                chinese = !chinese;
                continue;
            }
            if (chinese)
                field.receive(event.key, session.handle(event.key));
            else
                field.receive(event.key, InputEngine::Output{});
        }
    }
    if (auto text = session.flush()) field.insert(*text);
    draw(renderScreen(screenStateOf(session.engine(), field.text(), chinese)));
    restoreTerminal();
    std::printf("\n%s\n", field.text().c_str());
    return resources.save(std::cerr) ? 0 : 1;
}

} // namespace kelvo::term
