#include "InputSourceInstaller.hpp"

#include <gtest/gtest.h>
#include <sstream>

using namespace kelvo;

namespace {

class FakeRegistry : public platform::InputSourceRegistry {
public:
    std::vector<std::string> sources;
    int registerStatus = 0;
    std::vector<int> enableStatuses;
    std::vector<std::string> enabled, disabled;
    std::filesystem::path registered, unregistered;

    std::vector<std::string> installedSources() override { return sources; }
    int registerBundle(const std::filesystem::path& bundle) override {
        registered = bundle;
        return registerStatus;
    }
    int enable(const std::string& source) override {
        enabled.push_back(source);
        int status = enableStatuses.empty() ? 0 : enableStatuses.front();
        if (!enableStatuses.empty()) enableStatuses.erase(enableStatuses.begin());
        return status;
    }
    int unregisterBundle(const std::filesystem::path& bundle) override {
        unregistered = bundle;
        return 0;
    }
    int disable(const std::string& source) override {
        disabled.push_back(source);
        return source == "fails" ? 5 : 0;
    }
    int select(const std::string&) override { return 0; }
    std::string currentSource() override { return {}; }
};

const std::string identifier = "org.kelvo.inputmethod.Kelvo";

} // namespace

TEST(InputSourceInstaller, RegisteringPrintsTheBundleAndMayEnable) {
    FakeRegistry registry;
    std::ostringstream out;
    InputSourceInstaller installer(registry, identifier, "/home/u/.local/share/Input Methods/Kelvo.app", out);
    EXPECT_TRUE(installer.registerSource(false));
    EXPECT_EQ(out.str(), "已註冊輸入來源：/home/u/.local/share/Input Methods/Kelvo.app\n");
    EXPECT_TRUE(registry.enabled.empty());

    out.str("");
    EXPECT_TRUE(installer.registerSource(true)); // registered, but the registry lists no source yet
    EXPECT_EQ(out.str(), "已註冊輸入來源：/home/u/.local/share/Input Methods/Kelvo.app\n"
                         "目前列表尚未找到Kelvo。請先重新開啟鍵盤設定，從繁體中文加入「Kelvo」；若仍未出現，"
                         "再嘗試重新登入。\n");
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

TEST(InputSourceInstaller, DisablingRemovesTheRegistrationAndEndsWithTheRemovalHint) {
    FakeRegistry registry;
    std::ostringstream out;
    InputSourceInstaller installer(registry, identifier, "/home/u/.local/share/Input Methods/Kelvo.app", out);
    installer.disable(); // not listed any more: the lists are cleaned all the same
    EXPECT_EQ(registry.disabled, std::vector<std::string>{identifier});
    EXPECT_EQ(registry.unregistered, "/home/u/.local/share/Input Methods/Kelvo.app");
    EXPECT_EQ(out.str(), "已停用輸入來源\n已移除輸入來源註冊\n"
                         "如要完全移除：rm -rf '/home/u/.local/share/Input Methods/Kelvo.app'\n");
}
