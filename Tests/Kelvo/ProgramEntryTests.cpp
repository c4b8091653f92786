#include "../Support/TemporaryFolder.hpp"
#include "InputSourceInstaller.hpp"
#include "LexiconStore.hpp"
#include "ProgramEntry.hpp"

#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>

using namespace kelvo;
using kelvo::testing::TemporaryFolder;

namespace {

class RecordingLogger : public platform::Logger {
public:
    std::vector<std::pair<Level, std::string>> lines;
    void log(Level level, std::string_view message) override {
        lines.emplace_back(level, std::string(message));
    }
};

// Registration that answers as told and records what it enabled.
class FakeRegistry : public platform::InputSourceRegistry {
public:
    std::vector<std::string> sources, enabled;
    int registerStatus = 0;
    std::vector<int> enableStatuses; // in turn, then 0

    std::vector<std::string> installedSources() override { return sources; }
    int registerBundle(const std::filesystem::path&) override { return registerStatus; }
    int enable(const std::string& source) override {
        enabled.push_back(source);
        const std::size_t turn = enabled.size() - 1;
        return turn < enableStatuses.size() ? enableStatuses[turn] : 0;
    }
    int unregisterBundle(const std::filesystem::path&) override { return 0; }
    int disable(const std::string&) override { return 0; }
    int select(const std::string&) override { return 0; }
    std::string currentSource() override { return {}; }
};

const std::string identifier = "org.kelvo.inputmethod.Kelvo";

// An Info.plist and a dictionary of `entries` entries (你 for ㄋㄧˇ among them) in the resources.
void writeInstallation(const TemporaryFolder& folder, const std::string& infoPlist,
                       const std::string& resources, std::size_t entries) {
    folder.write(infoPlist,
                 "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>CFBundleIdentifier</key>"
                 "<string>org.kelvo.inputmethod.Kelvo</string><key>CFBundleShortVersionString</key>"
                 "<string>1.2</string><key>CFBundleVersion</key><string>7</string></dict></plist>");
    std::string text = "ㄋㄧˇ 你 -3\n";
    for (std::size_t i = 1; i < entries; ++i)
        text += "ㄅㄚ 八 -5\n";
    folder.write(resources + "/data/data.txt", text);
}

std::filesystem::path makeBundle(const TemporaryFolder& folder, std::size_t entries) {
    writeInstallation(folder, "Kelvo.app/Contents/Info.plist", "Kelvo.app/Contents/Resources", entries);
    return folder / "Kelvo.app";
}

class ProgramEntryTest : public ::testing::Test {
protected:
    TemporaryFolder folder;
    std::ostringstream out, err;
    FakeRegistry registry;
    platform::MemoryDefaults defaults;
    RecordingLogger log;
    std::vector<std::string> ran;
    ProgramServices services{std::nullopt,
                             out,
                             err,
                             registry,
                             defaults,
                             log,
                             [] { return false; },
                             [this](bool requestsSettings) {
                                 ran.push_back(requestsSettings ? "server+settings" : "server");
                                 return 0;
                             },
                             [this](const std::string& command, const std::optional<std::string>& argument) {
                                 ran.push_back(command + (argument ? " " + *argument : ""));
                                 return 0;
                             },
                             true};
};

} // namespace

TEST_F(ProgramEntryTest, ServerNeedsItsBundle) {
    EXPECT_EQ(runProgram({}, services), 1);
    EXPECT_EQ(err.str(), "錯誤：必須以 Kelvo.app 形式執行\n");
    services.bundle = platform::Bundle::at(makeBundle(folder, 10));
    ASSERT_TRUE(services.bundle);
    EXPECT_EQ(services.bundle->version, "7");
    EXPECT_EQ(runProgram({}, services), 0);
    EXPECT_EQ(runProgram({"settings"}, services), 0);
    EXPECT_EQ(ran, (std::vector<std::string>{"server", "server+settings"}));
    services.requestSettingsFromRunningInstance = [] { return true; }; // another instance answers
    EXPECT_EQ(runProgram({"settings"}, services), 0);
    EXPECT_EQ(ran.size(), 2u);
}

TEST_F(ProgramEntryTest, DiagnoseNeverWaitsOnAFifo) {
    auto bundle = makeBundle(folder, 10);
    const auto dictionary = bundle / "Contents/Resources/data/data.txt";
    std::filesystem::remove(dictionary);
    ASSERT_EQ(::mkfifo(dictionary.c_str(), 0600), 0); // nobody will ever write to it
    services.bundle = platform::Bundle::at(bundle);
    EXPECT_EQ(runProgram({"diagnose"}, services), 1);
    EXPECT_EQ(err.str(), "FAIL: controller or bundled dictionary unavailable\n");
}

TEST_F(ProgramEntryTest, WindowCommandsRegisterDefaultsFirst) {
    defaults.set("customText", true);
    EXPECT_EQ(runProgram({"guide", "ignored"}, services), 0);
    EXPECT_FALSE(defaults.boolean("customText"));
    EXPECT_EQ(ran, std::vector<std::string>{"guide"});
}

TEST_F(ProgramEntryTest, RegistrationCommandsReportThroughTheInstaller) {
    EXPECT_EQ(runProgram({"register"}, services), 1); // outside a bundle there is nothing to register
    services.bundle = platform::Bundle::at(makeBundle(folder, 10));
    out.str("");
    EXPECT_EQ(runProgram({"register"}, services), 0);
    EXPECT_EQ(out.str(), "已註冊輸入來源：" + (folder / "Kelvo.app").string() + "\n");
    EXPECT_EQ(runProgram({"enable"}, services), 1); // the lists hold no Kelvo afterwards
    EXPECT_EQ(runProgram({"uninstall"}, services), 0);
    EXPECT_NE(out.str().find("如要完全移除：rm -rf '" + (folder / "Kelvo.app").string() + "'"),
              std::string::npos);
}

// A package puts the Info.plist and the resources into one shared data folder; there is nothing
// to register, and the dictionary is found there.
TEST_F(ProgramEntryTest, SystemWideInstallationServesFromItsDataFolder) {
    writeInstallation(folder, "usr/share/kelvo/Info.plist", "usr/share/kelvo", 100001);
    EXPECT_FALSE(platform::Bundle::at(folder / "usr/share/kelvo"));
    services.bundle = platform::Bundle::installedAt(folder / "usr/share/kelvo");
    ASSERT_TRUE(services.bundle);
    EXPECT_TRUE(services.bundle->systemWide);
    EXPECT_EQ(services.bundle->resource("data.txt", "data"), folder / "usr/share/kelvo/data/data.txt");
    EXPECT_EQ(runProgram({"diagnose"}, services), 0);
    out.str("");
    EXPECT_EQ(runProgram({"install"}, services), 0);
    EXPECT_EQ(out.str(), "Kelvo 已由系統套件安裝，不必註冊：在桌面的輸入來源中加入 Kelvo 即可。\n");
    out.str("");
    EXPECT_EQ(runProgram({"uninstall"}, services), 1);
    EXPECT_EQ(out.str(), "Kelvo 由系統套件安裝：請以套件管理程式移除（sudo apt remove kelvo）。\n");
    EXPECT_FALSE(platform::Bundle::installedAt(folder / "usr/share"));
}

TEST(LexiconStore, AcceptsOnlyAUsableDictionaryAndLogsTheOutcome) {
    TemporaryFolder folder;
    RecordingLogger log;
    LexiconStore::resetForTesting();
    LexiconStore::bootstrap(platform::Bundle::at(makeBundle(folder, 100000)), log, folder / "no-words");
    EXPECT_FALSE(LexiconStore::lexicon());
    ASSERT_EQ(log.lines.size(), 1u);
    EXPECT_EQ(log.lines[0],
              std::make_pair(platform::Logger::Level::fault,
                             std::string("Required dictionary unavailable; input service cannot start")));
    LexiconStore::bootstrap(platform::Bundle::at(makeBundle(folder, 100001)), log, folder / "no-words");
    ASSERT_TRUE(LexiconStore::lexicon());
    EXPECT_FALSE(LexiconStore::englishDetector()); // no word list: no English detection, no message
    EXPECT_EQ(log.lines.back().second, "Input dictionary ready: 100001 entries");
    LexiconStore::resetForTesting();
}

TEST(InputSourceInstaller, FailedRegistrationPrintsItsStatusAndEnablesNothing) {
    FakeRegistry registry;
    registry.registerStatus = 13;
    registry.sources = {identifier};
    std::ostringstream out;
    InputSourceInstaller installer(registry, identifier, "/b/Kelvo.app", out);
    EXPECT_FALSE(installer.registerSource(true));
    EXPECT_EQ(out.str(), "TISRegisterInputSource 失敗：13\n");
    EXPECT_TRUE(registry.enabled.empty());
}

TEST(InputSourceInstaller, EnablesEachOwnSourceInOrder) {
    FakeRegistry registry;
    registry.sources = {"xkb:us::eng", identifier, "org.kelvo.inputmethod.Kelvo.other", identifier};
    registry.enableStatuses = {0, 2};
    std::ostringstream out;
    InputSourceInstaller installer(registry, identifier, "/b/Kelvo.app", out);
    EXPECT_EQ(installer.findOwnSources().size(), 2u);
    installer.enable();
    EXPECT_EQ(
        out.str(),
        "已啟用輸入來源\nTISEnableInputSource：2（請在鍵盤設定手動加入Kelvo；若仍未出現，可嘗試重新登入）\n");
}
