#pragma once

// A host controller over a recording text field, with the bundled dictionary in a bundle of its own.
#include "../Support/TemporaryFolder.hpp"
#include "KelvoInputController.hpp"
#include "KeyCodes.hpp"
#include "LexiconStore.hpp"
#include "Panels/PanelOwnership.hpp"
#include "SettingKey.hpp"

#include <gtest/gtest.h>

namespace kelvo::testing {

using platform::code;
using platform::KeyCode;
using platform::KeyEvent;
namespace modifier = platform::modifier;

// A text field with a caret at its end: what is inserted is appended, marked text shown apart.
class RecordingClient : public platform::InputClient {
public:
    std::string inserted;
    std::string marked;
    int markedTextCalls = 0;
    bool knowsCaret = true;
    void insertText(const std::string& text) override {
        inserted += text;
        marked.clear(); // inserted text replaces the marked text, as in a real text field
    }
    void setMarkedText(const platform::MarkedText& text,
                       std::optional<platform::TextRange> replacing) override {
        ++markedTextCalls;
        if (replacing)
            inserted.erase(static_cast<std::size_t>(replacing->location),
                           static_cast<std::size_t>(replacing->length));
        marked.clear();
        for (const auto& piece : text.pieces)
            marked += piece.text;
    }
    std::optional<platform::TextRange> selectedRange() override {
        if (!knowsCaret) return std::nullopt;
        return platform::TextRange{static_cast<int>(inserted.size()), 0}; // ASCII in these tests
    }
    platform::CandidateList candidates;
    std::vector<std::pair<std::string, std::string>> menu;
    void showCandidates(const platform::CandidateList& list) override { candidates = list; }
    void setMenu(const std::vector<std::pair<std::string, std::string>>& items) override { menu = items; }
    std::string applicationIdentifier() override { return "unknown"; }
    platform::Rect caretLine{100, 500, 2, 18};
    platform::Rect lineRectangle(int) override { return caretLine; }
    std::optional<std::string> text(platform::TextRange range) override {
        return inserted.substr(static_cast<std::size_t>(range.location),
                               static_cast<std::size_t>(range.length));
    }
};

// What the floating panels would show, under the same owner rule as the real ones.
class RecordingPanels : public panels::Panels {
public:
    struct Shown {
        panels::PanelOwnership ownership;
        bool visible = false;
        platform::Rect caret;
    };
    Shown candidates, composition;
    std::optional<InputEngine::SheetView> sheet;
    std::optional<InputEngine::Feedback> feedback;
    std::string mode;
    std::function<void(int)> select;
    std::function<void(bool)> expand;

    void presentCandidates(const InputEngine::SheetView& shown, const platform::Rect& caret, int,
                           const void* owner, std::function<void(int)> onSelect,
                           std::function<void(bool)> onExpand) override {
        present(candidates, caret, owner);
        sheet = shown;
        select = std::move(onSelect);
        expand = std::move(onExpand);
    }
    void hideCandidates(const void* owner) override { hide(candidates, owner); }
    void presentComposition(const InputEngine::Feedback& shown, const std::string& shownMode,
                            const platform::Rect& caret, int, const void* owner) override {
        present(composition, caret, owner);
        feedback = shown;
        mode = shownMode;
    }
    void hideComposition(const void* owner) override { hide(composition, owner); }

private:
    static void present(Shown& panel, const platform::Rect& caret, const void* owner) {
        panel.ownership.claim(owner);
        panel.visible = true;
        panel.caret = caret;
    }
    static void hide(Shown& panel, const void* owner) {
        if (panel.ownership.release(owner)) panel.visible = false;
    }
};

class NullLogger : public platform::Logger {
public:
    void log(Level, std::string_view) override {}
};

inline KeyEvent key(std::string characters, std::uint16_t keyCode = 0, std::uint32_t flags = 0,
                    bool repeat = false) {
    return KeyEvent{KeyEvent::Type::keyDown, keyCode, std::move(characters), flags, repeat, 0};
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
                                   folder / "Kelvo.app/Contents/Resources/data/data.txt",
                                   std::filesystem::copy_options::skip_existing); // once for all suites
        NullLogger log;
        LexiconStore::resetForTesting();
        LexiconStore::bootstrap(platform::Bundle::at(folder / "Kelvo.app"), log);
    }
    static void TearDownTestSuite() { LexiconStore::resetForTesting(); }

    platform::MemoryDefaults defaults;
    NullLogger log;
    KelvoInputController::Shared shared{defaults, nullptr, std::make_shared<CustomTextStore>(), log};
    RecordingClient client;
    KelvoInputController controller{client, shared};

    void SetUp() override { registerDefaults(defaults); }
    // Types each character as its key.
    void typeKeys(std::string_view keys) {
        for (char k : keys)
            controller.handle(key(std::string(1, k)));
    }
    bool press(KeyCode keyCode) { return controller.handle(key("", code(keyCode))); }
};

} // namespace kelvo::testing
