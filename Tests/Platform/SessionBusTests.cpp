#include "SessionBus.hpp"

#include <gio/gio.h>
#include <gtest/gtest.h>

using namespace kelvo::platform;

// Needs a session bus: the test runs under dbus-run-session (see Tests/CMakeLists.txt).
TEST(SessionBus, ASecondProcessAsksTheOwnerForItsSettings) {
    if (!g_getenv("DBUS_SESSION_BUS_ADDRESS")) GTEST_SKIP() << "no session bus";
    const std::string name = "org.kelvo.inputmethod.KelvoTest_Connection";
    EXPECT_FALSE(requestSettings(name)); // nobody owns it yet
    int shown = 0;
    SettingsService service(name, [&] { ++shown; });
    for (int i = 0; i < 100 && !g_main_context_iteration(nullptr, FALSE); ++i)
        g_usleep(10000);
    while (g_main_context_iteration(nullptr, FALSE)) {
    }
    // This process owns the name itself: asking it is no request from another instance.
    EXPECT_FALSE(requestSettings(name));
    // Another process asks (gdbus stands in for a second Kelvo).
    std::string command = "gdbus call --session --dest " + name +
                          " --object-path /org/kelvo/Settings "
                          "--method org.kelvo.Settings.ShowSettings";
    GThread* caller = g_thread_new(
        "caller",
        +[](gpointer data) -> gpointer {
            auto* cmd = static_cast<std::string*>(data);
            g_spawn_command_line_sync(cmd->c_str(), nullptr, nullptr, nullptr, nullptr);
            return nullptr;
        },
        &command);
    for (int i = 0; i < 300 && shown == 0; ++i) {
        g_main_context_iteration(nullptr, FALSE);
        g_usleep(10000);
    }
    g_thread_join(caller);
    EXPECT_EQ(shown, 1);
}
