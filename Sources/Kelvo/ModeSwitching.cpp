// The controller's Chinese and English modes: a lone Shift tap switches them, Caps Lock types English
// for a while, and reverse detection takes back letters typed in English mode that spell Chinese.
#include "KelvoInputController.hpp"
#include "KeyCodes.hpp"
#include "SettingKey.hpp"
#include "Text/Characters.hpp"

namespace kelvo {
namespace {

using platform::code;
using platform::KeyCode;
namespace modifier = platform::modifier;

// A key reverse detection may watch: one printable ASCII character (space, letter, digit,
// punctuation or symbol).
bool isWatchable(const std::string& characters) {
    return characters.size() == 1 && characters[0] >= 0x20 && characters[0] <= 0x7e;
}

} // namespace

void KelvoInputController::handleFlagsChanged(const platform::KeyEvent& event) {
    ModeState& mode = shared_.mode;
    if (event.keyCode == code(KeyCode::capsLock)) {
        mode.capsLockOverridden = false;
        mode.chineseDetector.reset();
        if ((event.modifierFlags & modifier::capsLock) && engine_) flushComposition();
        return;
    }
    if (!booleanSetting(shared_.defaults, SettingKey::shiftToggle)) return;
    const std::uint32_t flags = event.modifierFlags & modifier::deviceIndependent;
    auto kind = ShiftTapDetector::FlagsEvent::other();
    if (event.keyCode == code(KeyCode::leftShift) || event.keyCode == code(KeyCode::rightShift)) {
        if (flags == modifier::shift) kind = ShiftTapDetector::FlagsEvent::shiftDown(event.keyCode);
        if (flags == 0) kind = ShiftTapDetector::FlagsEvent::allReleased(event.keyCode);
    }
    if (!mode.shiftDetector.process(kind, event.timestamp)) return;
    if (engine_ && engine_->isInLiteralRun()) {
        engine_->endLiteralRun(); // the tap ends the English run inside the composition only
        return;
    }
    mode.chineseMode = !mode.chineseMode;
    shared_.log.log(platform::Logger::Level::info,
                    std::string("切換模式：") + (mode.chineseMode ? "中文" : "英文"));
    if (!mode.chineseMode && engine_) flushComposition();
}

bool KelvoInputController::observeEnglishModeTyping(const platform::KeyEvent& event) {
    ModeState& mode = shared_.mode;
    if (!booleanSetting(shared_.defaults, SettingKey::reverseDetection) ||
        (event.modifierFlags & modifier::commandKeys) || !isWatchable(event.characters)) {
        mode.chineseDetector.reset();
        mode.passthroughAnchor.reset();
        return false;
    }
    if (!mode.chineseDetector.isTracking()) {
        auto selection = client_.selectedRange();
        mode.passthroughAnchor = selection ? std::optional<int>(selection->location) : std::nullopt;
    }
    auto run = mode.chineseDetector.feed(lowercased(event.characters));
    if (!run) return false;

    if (event.modifierFlags & modifier::capsLock) mode.capsLockOverridden = true;
    mode.chineseMode = true;
    const std::string typed = run->substr(0, run->size() - 1); // the keys the client already has
    const int n = static_cast<int>(utf16Length(typed));
    auto selection = client_.selectedRange();
    InputEngine* engine = ensureEngine();
    if (!engine || !selection || selection->length != 0 || n > selection->location) {
        shared_.log.log(platform::Logger::Level::error,
                        "反向偵測：切回中文但游標狀態不明（" +
                            std::to_string(selection ? selection->location : -1) + "），不收回");
        mode.passthroughAnchor.reset();
        return false;
    }
    const platform::TextRange letters{selection->location - n, n};
    bool anchored = mode.passthroughAnchor && *mode.passthroughAnchor + n == selection->location;
    auto text = client_.text(letters);
    if (!anchored || !text || lowercased(*text) != lowercased(typed)) {
        shared_.log.log(platform::Logger::Level::error, "反向偵測：無法驗證文字與游標，不收回已輸入文字");
        mode.passthroughAnchor.reset();
        return false;
    }
    shared_.log.log(platform::Logger::Level::info,
                    "反向偵測：切回中文並收回 " + std::to_string(characterCount(typed) + 1) + " 個字母重組");
    mode.passthroughAnchor.reset();
    for (std::string_view c : characterViews(*run))
        engine->handle(c == " " ? KeyInput::of(KeyInput::Kind::space) : KeyInput::typed(std::string(c)));
    syncUI(letters);
    return true;
}

} // namespace kelvo
