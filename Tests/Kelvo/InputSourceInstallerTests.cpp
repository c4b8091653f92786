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
