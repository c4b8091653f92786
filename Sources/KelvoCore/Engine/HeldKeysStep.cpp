// Carrying out what a state holding typed keys back decided about a key.
#include "Engine/HeldKeysStep.hpp"

#include "Engine/InputEngine.hpp"

namespace kelvo {

// Does what a state holding keys back decided about a key; `english` keys are written as English.
InputEngine::MaybeOutput InputEngine::carryOut(const HeldKeysStep& step, bool english) {
    switch (step.change) {
    case HeldKeysStep::Change::hold:
        if (english)
            state_ = HeldEnglish{step.keys};
        else
            state_ = ShortcutBuffer{step.keys};
        break;
    case HeldKeysStep::Change::release:
        state_ = Composing{};
        insertLiteralCharacters((english ? formattedEnglish(step.keys) : step.keys) + step.followedBy);
        break;
    case HeldKeysStep::Change::expand:
        state_ = Composing{};
        insertLiteral(step.keys);
        break;
    case HeldKeysStep::Change::discard:
        state_ = Composing{};
        break;
    case HeldKeysStep::Change::commit:
        return handleEnter(); // the held keys are part of the committed text
    }
    return step.keyTaken ? MaybeOutput(handled()) : std::nullopt;
}

} // namespace kelvo
