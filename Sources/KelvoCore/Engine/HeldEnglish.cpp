// English held back while digits or separators follow it (a version, a unit, a domain), until a key
// decides what the held keys become.
#include "Engine/EnglishRunSupport.hpp"
#include "Engine/InputEngine.hpp"
#include "Text/Characters.hpp"


namespace kelvo {
namespace {

bool continuesHeldEnglish(std::string_view c) {
    return isASCIILetter(c) || holdsEnglishOn(c);
}

} // namespace

void InputEngine::holdEnglish(std::string keys) {
    state_ = HeldEnglish{std::move(keys)};
}

InputEngine::MaybeOutput InputEngine::handleInHeldEnglish(const KeyInput& key) {
    const HeldEnglish held = std::get<HeldEnglish>(state_);
    auto commitRun = [&](std::string_view followedBy) {
        state_ = Composing{};
        insertLiteralCharacters(formattedEnglish(held.keys) + std::string(followedBy));
    };
    switch (key.kind) {
    case KeyInput::Kind::repeatedCharacter:
        holdEnglish(held.keys + key.character);
        return handled();
    case KeyInput::Kind::character:
    case KeyInput::Kind::englishLiteral: {
        if (acceptSyllableAfterHeldEnglish(held.keys, key.character)) return handled();
        if (!continuesHeldEnglish(key.character)) {
            commitRun(key.character);
            return handled();
        }
        holdEnglish(held.keys + key.character);
        return handled();
    }
    case KeyInput::Kind::space:
        if (acceptSyllableAfterHeldEnglish(held.keys, " ")) return handled(); // Space is the first tone
        commitRun(" ");
        return handled();
    case KeyInput::Kind::enter:
        return handleEnter(); // the held text is part of the committed text
    case KeyInput::Kind::escape:
        state_ = Composing{}; // the held keys are discarded
        return handled();
    case KeyInput::Kind::backspace: {
        auto characters = characterViews(held.keys);
        characters.pop_back();
        if (characters.empty())
            state_ = Composing{};
        else
            holdEnglish(joinedCharacters(characters, 0, characters.size()));
        return handled();
    }
    case KeyInput::Kind::tab:
    case KeyInput::Kind::arrowLeft:
    case KeyInput::Kind::arrowRight:
    case KeyInput::Kind::arrowDown:
        commitRun("");
        return std::nullopt; // the key then acts on the composition
    default:                 // arrowUp, pageUp, pageDown
        return handled();
    }
}

} // namespace kelvo
