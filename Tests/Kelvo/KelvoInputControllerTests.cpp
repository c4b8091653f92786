#include "../Support/TemporaryFolder.hpp"
#include "KelvoInputController.hpp"
#include "LexiconStore.hpp"
#include "SettingKey.hpp"

#include <gtest/gtest.h>

using namespace kelvo;
using platform::KeyEvent;

namespace {

class RecordingClient : public platform::InputClient {
public:
    std::string inserted;
    std::string marked;
    void insertText(const std::string& text) override { inserted += text; }
    void setMarkedText(const platform::MarkedText& text) override {
        marked.clear();
        for (const auto& piece : text.pieces)
            marked += piece.text;
    }
};

class NullLogger : public platform::Logger {
public:
    void log(Level, std::string_view) override {}
};

KeyEvent key(std::string characters, std::uint16_t code = 0, std::uint32_t flags = 0, bool repeat = false) {
    return KeyEvent{KeyEvent::Type::keyDown, code, std::move(characters), flags, repeat, 0};
}

class ControllerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static kelvo::testing::TemporaryFolder folder;
        folder.write("Kelvo.app/Contents/Info.plist",
                     "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>CFBundleIdentifier</key>"
                     "<string>org.kelvo.inputmethod.Kelvo</string></dict></plist>");
        std::filesystem::create_directories(folder / "Kelvo.app/Contents/Resources/data");
        std::filesystem::copy_file(KELVO_RESOURCES_DIR "/data/data.txt",
                                   folder / "Kelvo.app/Contents/Resources/data/data.txt");
        NullLogger log;
        LexiconStore::resetForTesting();
        LexiconStore::bootstrap(platform::Bundle::at(folder / "Kelvo.app"), log);
    }
    static void TearDownTestSuite() { LexiconStore::resetForTesting(); }

    platform::MemoryDefaults defaults;
    KelvoInputController::Shared shared{defaults, nullptr, std::make_shared<CustomTextStore>()};
    RecordingClient client;
    KelvoInputController controller{client, shared};

    void SetUp() override { registerDefaults(defaults); }
};

} // namespace

TEST(KelvoInputControllerKeys, KeyCodesAndCharactersBecomeEngineKeys) {
    using Kind = KeyInput::Kind;
    const std::pair<std::uint16_t, Kind> table[] = {
        {36, Kind::enter},      {76, Kind::enter},       {48, Kind::tab},        {49, Kind::space},
        {51, Kind::backspace},  {53, Kind::escape},      {116, Kind::pageUp},    {121, Kind::pageDown},
        {123, Kind::arrowLeft}, {124, Kind::arrowRight}, {125, Kind::arrowDown}, {126, Kind::arrowUp}};
    for (auto [code, kind] : table)
        EXPECT_EQ(KelvoInputController::keyInput(key("", code)), KeyInput::of(kind)) << code;
    EXPECT_EQ(KelvoInputController::keyInput(key("A")), KeyInput::typed("a"));
    EXPECT_EQ(KelvoInputController::keyInput(key("A", 0, 0x20000)), KeyInput::english("A"));
    EXPECT_EQ(KelvoInputController::keyInput(key("1", 0, 0x20000)), KeyInput::typed("1"));
    EXPECT_EQ(KelvoInputController::keyInput(key("a", 0, 0, true)), KeyInput::repeated("a"));
    EXPECT_EQ(KelvoInputController::keyInput(key(" ")), KeyInput::of(Kind::space));
    EXPECT_EQ(KelvoInputController::keyInput(key("\r")), std::nullopt);
    EXPECT_EQ(KelvoInputController::keyInput(key("ab")), std::nullopt);
    EXPECT_EQ(KelvoInputController::keyInput(key("é")), std::nullopt);
}

TEST_F(ControllerTest, TypesAndCommitsThroughTheClient) {
    for (const char* k : {"s", "u", "3", "c", "l", "3"})
        EXPECT_TRUE(controller.handle(key(k)));
    EXPECT_EQ(client.marked, "你好");
    EXPECT_TRUE(controller.handle(key("", 36)));
    EXPECT_EQ(client.inserted, "你好");
    EXPECT_EQ(client.marked, "");
    EXPECT_FALSE(controller.handle(key("", 36))); // idle: Return reaches the application
}

TEST_F(ControllerTest, CommandKeysAndModifierChangesPassThrough) {
    EXPECT_FALSE(controller.handle(key("c", 0, 0x40000)));
    EXPECT_FALSE(controller.handle(KeyEvent{KeyEvent::Type::flagsChanged, 56, "", 0x20000, false, 0}));
    EXPECT_EQ(client.marked, "");
}

TEST_F(ControllerTest, SettingsAreReadBeforeEveryKey) {
    defaults.set("punctuationMode", std::string("english"));
    controller.handle(key("s"));
    controller.handle(key("u"));
    controller.handle(key("3"));
    EXPECT_FALSE(controller.handle(key("<"))); // english punctuation: commits and passes the key on
    EXPECT_EQ(client.inserted, "你");
}

TEST_F(ControllerTest, DeactivationCommitsTheComposition) {
    controller.handle(key("s"));
    controller.handle(key("u"));
    controller.deactivate();
    EXPECT_EQ(client.inserted, "ㄋㄧ");
    EXPECT_EQ(client.marked, "");
}
