// The literal run: every printable key is taken as typed until Escape, an arrow, a Backspace that
// leaves no literal before the cursor, or the end of the composition.
#include "Engine/InputEngine.hpp"

namespace kelvo {

void InputEngine::startLiteralRun() {
    state_ = LiteralRun{};
}

InputEngine::MaybeOutput InputEngine::handleInLiteralRun(const KeyInput& key) {
    LiteralRun& run = std::get<LiteralRun>(state_);
    auto endRun = [&] { state_ = Composing{run.composer, std::nullopt}; };
    switch (key.kind) {
    case KeyInput::Kind::character:
        insertLiteral(key.character);
        return handled();
    case KeyInput::Kind::repeatedCharacter:
        if (longPressKey_ != key.character)
            insertLiteral(key.character); // the held key itself repeats nothing
        return handled();
    case KeyInput::Kind::space:
        insertLiteral(" ");
        return handled();
    case KeyInput::Kind::escape:
        endRun(); // Escape only ends the run
        return handled();
    case KeyInput::Kind::backspace: {
        if (!run.composer.isEmpty() || composition_.cursor() == 0) return handleBackspace();
        removeElementBeforeCursor();
        const Element* before = composition_.elementBeforeCursor();
        if (!before || before->isReading()) endRun();
        return handled();
    }
    case KeyInput::Kind::arrowLeft:
    case KeyInput::Kind::arrowRight:
    case KeyInput::Kind::arrowDown:
        endRun();
        return std::nullopt; // the arrow then acts on the composition
    default:                 // Shift letters, Enter, Tab and the rest act as while composing, in the run
        return std::nullopt;
    }
}

} // namespace kelvo
