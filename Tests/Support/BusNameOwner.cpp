// Owns a name on the session bus until it is signalled: a stand-in for a running input method
// server in tests of what may stop it.
#include "SessionBus.hpp"

#include <glib.h>

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    kelvo::platform::SettingsService service(argv[1], [] {});
    GMainLoop* loop = g_main_loop_new(nullptr, FALSE);
    g_main_loop_run(loop);
    return 0;
}
