#pragma once

#include "Detectors/ChineseTypingDetector.hpp"
#include "Detectors/ShiftTapDetector.hpp"
#include "Engine/InputEngine.hpp"
#include "InputClient.hpp"
#include "Logger.hpp"
#include "Panels/Panels.hpp"
#include "UserDefaults.hpp"

#include <functional>
#include <memory>
#include <optional>

namespace kelvo {

// Connects one client's text field to an engine: key events in, committed and marked text out, in
// Chinese mode; in English mode keys pass through, and reverse detection notices Zhuyin typed by
// mistake. A lone Shift tap switches the mode; Caps Lock types English without leaving Chinese.
// The candidate list and the composition feedback go to the process's floating panels when it has
// them, else to the client's own list (IBus draws it).
class KelvoInputController : public platform::InputContextHandler {
public:
    // The input mode and its detectors, one for the whole process.
    struct ModeState {
        bool chineseMode = true;
        bool capsLockOverridden = false; // reverse detection switched to Chinese while Caps Lock was on
        ShiftTapDetector shiftDetector;
        ChineseTypingDetector chineseDetector{knownReading};
        std::optional<int> passthroughAnchor; // caret when the detector started tracking passed-through keys

        static bool knownReading(std::string_view reading);
    };

    // What every controller of the process shares.
    struct Shared {
        platform::UserDefaults& defaults;
        std::shared_ptr<UserPhraseStore> userPhrases;
        std::shared_ptr<CustomTextStore> customTexts;
        platform::Logger& log;
        // Opens the settings window, and the other windows by their sub-command ("guide").
        std::function<void()> showSettings = [] {};
        std::function<void(const std::string&)> openWindow = [](const std::string&) {};
        // While true, engines neither use nor add to the learned data (a check is typing).
        std::function<bool()> learnedDataPaused = [] { return false; };
        ModeState mode{};
        panels::Panels* panels = nullptr; // none: the client shows the list
    };

    // The menu's items: key and label.
    static const std::vector<std::pair<std::string, std::string>>& menuItems();

    KelvoInputController(platform::InputClient& client, Shared& shared);

    bool handle(const platform::KeyEvent& event) override;
    void activate() override;
    void deactivate() override;
    void commitComposition() override;
    void candidateClicked(int position) override;
    void menuItemChosen(const std::string& key) override;
    void clientLineMoved() override;

    // The engine key an event stands for, if any.
    static std::optional<KeyInput> keyInput(const platform::KeyEvent& event);

private:
    InputEngine* ensureEngine();
    // Brings the client up to date: marked text, then the panels or the client's candidate list.
    void syncUI(std::optional<platform::TextRange> replacing = std::nullopt);
    void setMarked(std::optional<platform::TextRange> replacing);
    void syncPanels();
    void syncClientList();
    void flushComposition();
    void handleFlagsChanged(const platform::KeyEvent& event);
    bool observeEnglishModeTyping(const platform::KeyEvent& event);
    void insertCommittedText(const std::string& text);
    // Logs what the stores have to tell and keeps the latest for the next redraw.
    void takeStoreNotices();
    void log(std::string message) { shared_.log.log(platform::Logger::Level::standard, message); }
    bool logging() const { return shared_.log.isRecording(); }

    platform::InputClient& client_;
    Shared& shared_;
    std::unique_ptr<InputEngine> engine_;
    struct AppliedSettings {
        unsigned long revision = 0;
        bool learningPaused = false;
        bool operator==(const AppliedSettings&) const = default;
    };
    std::optional<AppliedSettings> appliedSettings_; // what the engine was last given
    std::vector<int> shownIndices_;                  // the engine's index of each candidate shown
    bool ownsMarkedText_ = false;                    // marked text this controller set and has not cleared
    std::optional<std::string> notice_;              // shown at one redraw, where the candidates go
    std::shared_ptr<int> alive_ = std::make_shared<int>(0); // lets the panels' callbacks outlive it safely
};

} // namespace kelvo
