#include "../Support/TemporaryFolder.hpp"
#include "ChildProcess.hpp"
#include "GVariantText.hpp"
#include "IBusInputSourceRegistry.hpp"

#include <cstdlib>
#include <glib.h>
#include <gtest/gtest.h>

using namespace kelvo::platform;
using kelvo::testing::TemporaryFolder;
namespace fs = std::filesystem;

namespace {

// Stands in for gsettings and ibus: keeps settings in files and logs every call.
class FakeTools {
public:
    explicit FakeTools(const TemporaryFolder& folder)
        : bin_(folder / "bin"), previousPath_(std::getenv("PATH")) {
        folder.write("bin/gsettings", R"(#!/bin/sh
store="$(dirname "$0")/../settings"; mkdir -p "$store"
echo "gsettings $*" >> "$store/log"
case "$1" in
  list-schemas) printf 'org.freedesktop.ibus.general\norg.gnome.desktop.input-sources\n' ;;
  get) cat "$store/$2.$3" 2>/dev/null || echo "@as []" ;;
  set) printf '%s\n' "$4" > "$store/$2.$3" ;;
esac
)");
        folder.write("bin/ibus", "#!/bin/sh\necho \"ibus $*\" >> \"$(dirname \"$0\")/../settings/log\"\n"
                                 "[ \"$1\" = engine ] && echo org.kelvo.inputmethod.Kelvo\nexit 0\n");
        fs::create_directories(folder / "settings");
        for (const char* tool : {"bin/gsettings", "bin/ibus"})
            fs::permissions(folder / tool, fs::perms::owner_all);
        ::setenv("PATH", (bin_.string() + ":" + previousPath_).c_str(), 1);
    }
    ~FakeTools() { ::setenv("PATH", previousPath_.c_str(), 1); }

private:
    fs::path bin_;
    std::string previousPath_;
};

// A registry over folders of a fresh folder, with gsettings and ibus faked.
class RegistryTest : public ::testing::Test {
protected:
    TemporaryFolder folder;
    FakeTools tools{folder};

    // A bundle whose IBus component names `engine` (none: no engines element).
    fs::path bundle(const char* engine = "org.kelvo.inputmethod.Kelvo", const char* extra = "") {
        std::string engines = engine ? std::string("<engines><engine><name>") + engine + "</name>" + extra +
                                           "</engine></engines>"
                                     : "";
        folder.write("Kelvo.app/Contents/Resources/ibus/kelvo.xml",
                     "<component><exec>@KELVO_EXECUTABLE@</exec>" + engines + "</component>");
        return folder / "Kelvo.app";
    }
    IBusInputSourceRegistry registryIn(const char* component, const char* environment) {
        return IBusInputSourceRegistry(
            {folder / component, folder / environment, folder / "system", folder / "applications"});
    }
};

} // namespace

// GLib reads and writes the text; the registry's tests give it apostrophes and quotes.
TEST(GVariantText, ListsOfAnythingButStringsAreNoLists) {
    EXPECT_EQ(stringListOfGVariantText("@as []"), std::vector<std::string>{});
    EXPECT_EQ(stringListOfGVariantText("[('xkb', 'us')]"), std::nullopt);
    EXPECT_EQ(stringListOfGVariantText("garbage"), std::nullopt);
    EXPECT_EQ(stringPairsOfGVariantText("['xkb']"), std::nullopt);
}

// The installer's end-to-end test runs the exec and setup lines it writes and reads its launcher.
TEST_F(RegistryTest, RegisterWritesComponentAndEnvironmentKeepingOtherFolders) {
    bundle("org.kelvo.inputmethod.Kelvo", "<icon>@KELVO_ICON@</icon><setup>@KELVO_SETUP@</setup>");
    folder.write("config/environment.d/60-kelvo-ibus.conf",
                 "IBUS_COMPONENT_PATH=/opt/other:/usr/share/ibus/component\n");
    auto registry = registryIn("data/Kelvo/ibus-component", "config/environment.d/60-kelvo-ibus.conf");
    EXPECT_TRUE(registry.installedSources().empty());
    EXPECT_EQ(registry.registerBundle(folder / "Kelvo.app"), 0);
    // The tray shows the bundle's icon.
    EXPECT_NE(TemporaryFolder::read(folder / "data/Kelvo/ibus-component/kelvo.xml")
                  .find("<icon>" + (folder / "Kelvo.app/Contents/Resources/kelvo.svg").string() + "</icon>"),
              std::string::npos);
    EXPECT_EQ(TemporaryFolder::read(folder / "config/environment.d/60-kelvo-ibus.conf"),
              "IBUS_COMPONENT_PATH=" + (folder / "data/Kelvo/ibus-component").string() +
                  ":/opt/other:/usr/share/ibus/component:" + (folder / "system").string() + "\n");
    EXPECT_EQ(registry.installedSources(), std::vector<std::string>{"org.kelvo.inputmethod.Kelvo"});
    EXPECT_NE(TemporaryFolder::read(folder / "settings/log").find("ibus write-cache"), std::string::npos);
    EXPECT_EQ(registry.registerBundle(folder / "Nothing.app"), ENOENT);
}

// The package's engine hands over to the user's own copy only while that copy is installed and
// registered.
TEST_F(RegistryTest, AUsersOwnCopyCountsWhileInstalledAndRegistered) {
    const char* previous = std::getenv("XDG_DATA_HOME");
    const std::string previousValue = previous ? previous : "";
    ::setenv("XDG_DATA_HOME", folder.root().c_str(), 1);
    const auto copy = bundle(); // the user's input methods folder is XDG_DATA_HOME/Input Methods
    fs::create_directories(folder / "Input Methods");
    fs::rename(copy, folder / "Input Methods/Kelvo.app");
    const auto installed = folder / "Input Methods/Kelvo.app";
    auto registry = registryIn("data/Kelvo/ibus-component", "config/60-kelvo-ibus.conf");
    folder.write("Input Methods/Kelvo.app/Contents/MacOS/Kelvo", "#!/bin/sh\n");
    EXPECT_FALSE(registry.registeredUserCopy()); // installed, not registered
    ASSERT_EQ(registry.registerBundle(installed), 0);
    EXPECT_FALSE(registry.registeredUserCopy()); // not executable
    fs::permissions(installed / "Contents/MacOS/Kelvo", fs::perms::owner_all);
    EXPECT_EQ(registry.registeredUserCopy(), installed / "Contents/MacOS/Kelvo");
    ASSERT_EQ(registry.unregisterBundle(installed), 0);
    EXPECT_FALSE(registry.registeredUserCopy());
    if (previous)
        ::setenv("XDG_DATA_HOME", previousValue.c_str(), 1);
    else
        ::unsetenv("XDG_DATA_HOME");
}

TEST_F(RegistryTest, UnregisteringRemovesWhatRegisteringAddedAndNothingElse) {
    auto registry = registryIn("data/ibus-component", "config/60-kelvo-ibus.conf");
    ASSERT_EQ(registry.registerBundle(bundle()), 0);
    EXPECT_FALSE(fs::exists(folder / "system/kelvo.xml")); // a per-user install writes no system path
    // An earlier version wrote the system's folder too; a foreign component there stays.
    folder.write("system/other.xml", "<component/>");
    fs::copy_file(folder / "data/ibus-component/kelvo.xml", folder / "system/kelvo.xml");
    EXPECT_EQ(registry.unregisterBundle(folder / "Kelvo.app"), 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(folder / "data/ibus-component/kelvo-settings")));
    EXPECT_FALSE(fs::exists(folder / "system/kelvo.xml"));
    EXPECT_TRUE(fs::exists(folder / "system/other.xml"));
    EXPECT_FALSE(fs::exists(folder / "config/60-kelvo-ibus.conf"));
    EXPECT_TRUE(registry.installedSources().empty());

    // Folders someone else listed in the file stay listed.
    folder.write("config/60-kelvo-ibus.conf", "IBUS_COMPONENT_PATH=/opt/other\n");
    ASSERT_EQ(registry.registerBundle(folder / "Kelvo.app"), 0);
    EXPECT_EQ(registry.unregisterBundle(folder / "Kelvo.app"), 0);
    EXPECT_EQ(TemporaryFolder::read(folder / "config/60-kelvo-ibus.conf"),
              "IBUS_COMPONENT_PATH=/opt/other:" + (folder / "system").string() + "\n");
}

// Kelvo alone could never be switched away from, nor removed: empty lists get the user's layout.
TEST(IBusInputSourceRegistry, EnablingOnEmptyListsAddsTheKeyboardLayoutFirst) {
    struct Case {
        const char* keyboardFile;
        const char* ibusEngine;
        const char* gnomeLayout;
    } cases[] = {
        {"XKBLAYOUT=\"de,us\"\nXKBVARIANT=\"nodeadkeys,\"\n", "xkb:de:nodeadkeys:ger", "de+nodeadkeys"},
        {"XKBLAYOUT=\"fr\"\n", "xkb:fr::fra", "fr"},
        {"XKBLAYOUT=\"xx\"\n", "xkb:us::eng", "xx"},
        {nullptr, "xkb:us::eng", "us"}};
    for (const auto& c : cases) {
        TemporaryFolder folder;
        FakeTools tools(folder);
        folder.write("system/simple.xml", "<component><engines><engine><name>xkb:de::ger</name></engine>"
                                          "<engine><name>xkb:de:nodeadkeys:ger</name></engine>"
                                          "<engine><name>xkb:fr::fra</name></engine></engines></component>");
        if (c.keyboardFile) folder.write("keyboard", c.keyboardFile);
        IBusInputSourceRegistry registry(
            {folder / "c", folder / "e", folder / "system", folder / "a", folder / "keyboard"});
        EXPECT_EQ(registry.enable("org.kelvo.inputmethod.Kelvo"), 0);
        EXPECT_EQ(TemporaryFolder::read(folder / "settings/org.freedesktop.ibus.general.preload-engines"),
                  std::string("['") + c.ibusEngine + "', 'org.kelvo.inputmethod.Kelvo']\n");
        EXPECT_EQ(TemporaryFolder::read(folder / "settings/org.gnome.desktop.input-sources.sources"),
                  std::string("[('xkb', '") + c.gnomeLayout +
                      "'), ('ibus', 'org.kelvo.inputmethod.Kelvo')]\n");
    }
}

// Without a session bus gsettings reports success and stores nothing.
TEST_F(RegistryTest, EnablingFailsWhenTheListsDoNotKeepTheChange) {
    folder.write("bin/gsettings", "#!/bin/sh\n[ \"$1\" = get ] && echo \"@as []\"\nexit 0\n");
    fs::permissions(folder / "bin/gsettings", fs::perms::owner_all);
    EXPECT_EQ(registryIn("c", "e").enable("org.kelvo.inputmethod.Kelvo"), EIO);
}

TEST_F(RegistryTest, SourcesWithApostrophesSurviveAndUnreadableListsAreLeftAlone) {
    folder.write("settings/org.freedesktop.ibus.general.preload-engines", "['xkb:us::eng', \"m17n:it's\"]\n");
    folder.write("settings/org.gnome.desktop.input-sources.sources", "[('ibus', \"m17n:it's\")]\n");
    auto registry = registryIn("c", "e");
    EXPECT_EQ(registry.enable("org.kelvo.inputmethod.Kelvo"), 0);
    EXPECT_EQ(stringListOfGVariantText(
                  TemporaryFolder::read(folder / "settings/org.freedesktop.ibus.general.preload-engines")),
              (std::vector<std::string>{"xkb:us::eng", "m17n:it's", "org.kelvo.inputmethod.Kelvo"}));
    EXPECT_EQ(stringPairsOfGVariantText(
                  TemporaryFolder::read(folder / "settings/org.gnome.desktop.input-sources.sources")),
              (StringPairs{{"ibus", "m17n:it's"}, {"ibus", "org.kelvo.inputmethod.Kelvo"}}));

    folder.write("settings/org.freedesktop.ibus.general.preload-engines", "not a list\n");
    EXPECT_EQ(registry.disable("org.kelvo.inputmethod.Kelvo"), EINVAL);
    EXPECT_EQ(TemporaryFolder::read(folder / "settings/org.freedesktop.ibus.general.preload-engines"),
              "not a list\n");
}

TEST_F(RegistryTest, TheEnvironmentLineNamesFoldersLiterally) {
    bundle(nullptr);
    const fs::path odd = folder / "home $USER\\x";
    IBusInputSourceRegistry registry(
        {odd / "ibus-component", folder / "e/60-kelvo-ibus.conf", "/usr/share/ibus/component", odd / "a"});
    EXPECT_EQ(registry.registerBundle(folder / "Kelvo.app"), 0);
    std::string line = TemporaryFolder::read(folder / "e/60-kelvo-ibus.conf");
    EXPECT_NE(line.find("home\\ $$USER\\\\x/ibus-component:"), std::string::npos) << line;
    // systemd reads it back as the folder itself.
    const char* generator = "/usr/lib/systemd/user-environment-generators/30-systemd-environment-d-generator";
    if (fs::exists(generator)) {
        fs::create_directories(folder / "xdg/environment.d");
        fs::copy_file(folder / "e/60-kelvo-ibus.conf", folder / "xdg/environment.d/60-kelvo-ibus.conf");
        auto result =
            runChild({"env", "XDG_CONFIG_HOME=" + (folder / "xdg").string(), "USER=someone", generator});
        gchar** argv = nullptr;
        std::string assignment = result.output.substr(result.output.find("IBUS_COMPONENT_PATH="));
        assignment = assignment.substr(0, assignment.find('\n'));
        ASSERT_TRUE(g_shell_parse_argv(assignment.c_str(), nullptr, &argv, nullptr)) << assignment;
        EXPECT_EQ(std::string(argv[0]).substr(0, std::string_view("IBUS_COMPONENT_PATH=").size() +
                                                     (odd / "ibus-component").string().size() + 1),
                  "IBUS_COMPONENT_PATH=" + (odd / "ibus-component").string() + ":");
        g_strfreev(argv);
    }
    // Registering again reads its own line back without doubling or mangling the folder.
    EXPECT_EQ(registry.registerBundle(folder / "Kelvo.app"), 0);
    EXPECT_EQ(TemporaryFolder::read(folder / "e/60-kelvo-ibus.conf"), line);
}

// IBus splits the exec line like a shell would; the installed bundle's folder has a space.
TEST(IBusInputSourceRegistry, ExecLineSurvivesSpacesQuotesAndXml) {
    const std::string executable =
        "/home/a/.local/share/Input Methods/it's & <x>/Kelvo.app/Contents/MacOS/Kelvo";
    std::string line = execLineFor(executable);
    EXPECT_EQ(line.find('&', 0), line.find("&amp;"));
    for (auto [escaped, plain] : {std::pair{"&lt;", "<"}, std::pair{"&gt;", ">"}, std::pair{"&amp;", "&"}})
        for (std::size_t at; (at = line.find(escaped)) != std::string::npos;)
            line.replace(at, std::string_view(escaped).size(), plain);
    gchar** argv = nullptr;
    ASSERT_TRUE(g_shell_parse_argv(line.c_str(), nullptr, &argv, nullptr));
    ASSERT_NE(argv[0], nullptr);
    EXPECT_EQ(std::string(argv[0]), executable);
    EXPECT_EQ(argv[1], nullptr);
    g_strfreev(argv);
}
