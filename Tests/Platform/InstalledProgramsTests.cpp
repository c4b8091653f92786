#include "../Support/TemporaryFolder.hpp"
#include "InstalledPrograms.hpp"

#include <gtest/gtest.h>

using namespace kelvo::platform;
using kelvo::testing::TemporaryFolder;

namespace {

void writeFile(const TemporaryFolder& folder, const std::string& name, const std::string& text,
               bool executable) {
    std::filesystem::permissions(folder.write(name, text), executable ? std::filesystem::perms::owner_all
                                                                      : std::filesystem::perms::owner_read);
}

} // namespace

TEST(InstalledPrograms, ExecutablesAndDesktopEntriesGiveTheNamesAUserTypes) {
    TemporaryFolder folder;
    writeFile(folder, "bin/gtk4demo", "", true);
    writeFile(folder, "bin/Nmcli", "", true);
    writeFile(folder, "bin/readme", "", false);       // not executable
    writeFile(folder, "bin/ls", "", true);            // too short to tell from Zhuyin
    writeFile(folder, "bin/x-www-browser", "", true); // not one word
    writeFile(folder, "bin/2to3", "", true);          // starts with a digit
    writeFile(folder, "other/evince", "", true);      // in a folder PATH does not name
    writeFile(folder, "share/applications/rhythmbox.desktop",
              "[Desktop Entry]\nName=Rhythmbox\nExec=rhythmbox %U\n", false);
    writeFile(folder, "share/applications/editor.desktop",
              "[Desktop Entry]\nName=Text Editor\nExec=\"/usr/bin/gedit\" --new-window\n", false);
    writeFile(folder, "share/applications/broken.desktop", "not a desktop entry", false);
    writeFile(folder, "share/applications/notes.txt", "[Desktop Entry]\nName=Notes\n", false);

    std::string path = (folder / "bin").string() + "::" + (folder / "missing").string();
    EXPECT_EQ(installedProgramNames(path, {folder / "share", folder / "nowhere"}),
              (std::vector<std::string>{"gedit", "gtk4demo", "nmcli", "rhythmbox"}));
    EXPECT_TRUE(installedProgramNames("", {}).empty());
}
