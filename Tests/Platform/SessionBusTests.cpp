#include "SessionBus.hpp"

#include <csignal>
#include <gio/gio.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

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
    // Another process asks (gdbus stands in for a second Kelvo) while this one serves.
    ASSERT_TRUE(g_spawn_command_line_async(("gdbus call --session --dest " + name +
                                            " --object-path /org/kelvo/Settings"
                                            " --method org.kelvo.Settings.ShowSettings")
                                               .c_str(),
                                           nullptr));
    for (int i = 0; i < 300 && shown == 0; ++i) {
        g_main_context_iteration(nullptr, FALSE);
        g_usleep(10000);
    }
    EXPECT_EQ(shown, 1);
}

TEST(SessionBus, StoppingEndsOnlyTheProcessThatOwnsTheName) {
    if (!g_getenv("DBUS_SESSION_BUS_ADDRESS")) GTEST_SKIP() << "no session bus";
    const std::string name = "org.kelvo.inputmethod.KelvoStopTest_Connection";
    EXPECT_FALSE(ownerOf(name));
    EXPECT_FALSE(stopOwner(name)); // nobody to stop
    // Two processes; only the one owning the bus name is asked to end.
    GPid owner = 0, bystander = 0;
    gchar* ownerArgv[] = {const_cast<gchar*>(KELVO_BUS_NAME_OWNER), const_cast<gchar*>(name.c_str()),
                          nullptr};
    gchar* sleeper[] = {const_cast<gchar*>("sleep"), const_cast<gchar*>("30"), nullptr};
    ASSERT_TRUE(g_spawn_async(nullptr, ownerArgv, nullptr, G_SPAWN_DO_NOT_REAP_CHILD, nullptr, nullptr,
                              &owner, nullptr));
    ASSERT_TRUE(g_spawn_async(nullptr, sleeper, nullptr,
                              GSpawnFlags(G_SPAWN_SEARCH_PATH | G_SPAWN_DO_NOT_REAP_CHILD), nullptr, nullptr,
                              &bystander, nullptr));
    for (int i = 0; i < 500 && !ownerOf(name); ++i)
        g_usleep(10000);
    EXPECT_EQ(ownerOf(name), owner);
    EXPECT_TRUE(stopOwner(name));
    int status = 0;
    EXPECT_EQ(::waitpid(owner, &status, 0), owner);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
    EXPECT_EQ(::waitpid(bystander, &status, WNOHANG), 0); // still running
    ::kill(bystander, SIGKILL);
    ::waitpid(bystander, &status, 0);
}
