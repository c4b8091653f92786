// The literal run: every printable key is taken as typed until Escape, an arrow, a Backspace that
// leaves no literal before the cursor, or the end of the composition.
#include "Engine/InputEngine.hpp"

namespace kelvo {

LiteralStep LiteralRun::take(const KeyInput& key, const std::optional<std::string>& heldKey) const {
    switch (key.kind) {
    case KeyInput::Kind::character:
        return LiteralStep::insert(key.character);
    case KeyInput::Kind::repeatedCharacter: // the held key itself repeats nothing
        return heldKey == key.character ? LiteralStep{} : LiteralStep::insert(key.character);
    case KeyInput::Kind::space:
        return LiteralStep::insert(" ");
    case KeyInput::Kind::escape: // Escape only ends the run
        return LiteralStep::end(true);
    case KeyInput::Kind::backspace: // a syllable under way is edited as while composing
        return LiteralStep::of(composer.isEmpty() ? LiteralStep::Change::takeBack
                                                  : LiteralStep::Change::goOn);
    case KeyInput::Kind::arrowLeft:
    case KeyInput::Kind::arrowRight:
    case KeyInput::Kind::arrowDown:
        return LiteralStep::end(false);
    default: // Shift letters, Enter, Tab and the rest act as while composing, in the run
        return LiteralStep::of(LiteralStep::Change::goOn);
    }
}

void InputEngine::startLiteralRun() {
    state_ = LiteralRun{};
}

InputEngine::MaybeOutput InputEngine::handleInLiteralRun(const KeyInput& key) {
    const LiteralStep step = std::get<LiteralRun>(state_).take(key, longPressKey_);
    switch (step.change) {
    case LiteralStep::Change::stay:
        return handled();
    case LiteralStep::Change::insert:
        insertLiteral(step.text);
        return handled();
    case LiteralStep::Change::end:
        endLiteralRun();
        return step.keyTaken ? MaybeOutput(handled()) : std::nullopt;
    case LiteralStep::Change::takeBack: {
        if (composition_.cursor() == 0) return std::nullopt;
        removeElementBeforeCursor();
        const Element* before = composition_.elementBeforeCursor();
        if (!before || before->isReading()) endLiteralRun();
        return handled();
    }
    case LiteralStep::Change::goOn:
        break;
    }
    return std::nullopt;
}

} // namespace kelvo
