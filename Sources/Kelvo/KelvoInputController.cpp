#include "KelvoInputController.hpp"

#include "EngineSettings.hpp"
#include "LexiconStore.hpp"
#include "Text/Characters.hpp"

namespace kelvo {
namespace {

constexpr std::uint32_t shiftFlag = 0x20000;
constexpr std::uint32_t commandKeys = 0x1C0000; // Control, Option, Command

} // namespace

std::optional<KeyInput> KelvoInputController::keyInput(const platform::KeyEvent& event) {
    switch (event.keyCode) {
    case 36:
    case 76:
        return KeyInput::of(KeyInput::Kind::enter);
    case 48:
        return KeyInput::of(KeyInput::Kind::tab);
    case 49:
        return KeyInput::of(KeyInput::Kind::space);
    case 51:
        return KeyInput::of(KeyInput::Kind::backspace);
    case 53:
        return KeyInput::of(KeyInput::Kind::escape);
    case 116:
        return KeyInput::of(KeyInput::Kind::pageUp);
    case 121:
        return KeyInput::of(KeyInput::Kind::pageDown);
    case 123:
        return KeyInput::of(KeyInput::Kind::arrowLeft);
    case 124:
        return KeyInput::of(KeyInput::Kind::arrowRight);
    case 125:
        return KeyInput::of(KeyInput::Kind::arrowDown);
    case 126:
        return KeyInput::of(KeyInput::Kind::arrowUp);
    default:
        break;
    }
    if (characterCount(event.characters) != 1) return std::nullopt;
    const std::string& c = event.characters;
    if (c == " ") return KeyInput::of(KeyInput::Kind::space);
    if ((event.modifierFlags & shiftFlag) && isLetter(c)) return KeyInput::english(c);
    auto scalar = firstScalar(c);
    bool lineBreak = scalar && ((*scalar >= 0x0A && *scalar <= 0x0D) || *scalar == 0x85 ||
                                *scalar == 0x2028 || *scalar == 0x2029);
    if (!isASCII(c) || lineBreak) return std::nullopt;
    return event.isARepeat ? KeyInput::repeated(lowercased(c)) : KeyInput::typed(lowercased(c));
}

InputEngine* KelvoInputController::ensureEngine() {
    if (!engine_) {
        auto lexicon = LexiconStore::lexicon();
        if (!lexicon) return nullptr; // without a dictionary every key passes through
        engine_ = std::make_unique<InputEngine>(lexicon);
        engine_->setUserPhrases(shared_.userPhrases);
    }
    applySettings(*engine_, shared_.defaults, LexiconStore::englishDetector(), shared_.customTexts);
    return engine_.get();
}

bool KelvoInputController::handle(const platform::KeyEvent& event) {
    if (event.type != platform::KeyEvent::Type::keyDown) return false;
    if (event.modifierFlags & commandKeys) return false;
    auto key = keyInput(event);
    if (!key) return false;
    InputEngine* engine = ensureEngine();
    if (!engine) return false;
    auto output = engine->handle(*key);
    if (output.commitText) client_.insertText(*output.commitText);
    showMarkedText();
    return output.handled;
}

void KelvoInputController::commitComposition() {
    InputEngine* engine = ensureEngine();
    if (!engine) return;
    if (auto text = engine->flush()) client_.insertText(*text);
    showMarkedText();
}

void KelvoInputController::showMarkedText() {
    platform::MarkedText marked;
    const auto preedit = engine_->preedit();
    for (const auto& piece : preedit.pieces)
        marked.pieces.push_back({piece.text, static_cast<platform::MarkedText::Style>(piece.style)});
    marked.caretUTF16 = preedit.caretUTF16;
    client_.setMarkedText(marked);
}

} // namespace kelvo
