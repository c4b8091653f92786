// English held back while digits or separators follow it (a version, a unit, a domain), until a key
// decides what the held keys become.
#include "Engine/HeldEnglish.hpp"

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

HeldKeysStep HeldEnglish::take(const KeyInput& key) const {
    using Change = HeldKeysStep::Change;
    switch (key.kind) {
    case KeyInput::Kind::repeatedCharacter:
        return HeldKeysStep::hold(keys + key.character);
    case KeyInput::Kind::character:
    case KeyInput::Kind::englishLiteral:
        if (!continuesHeldEnglish(key.character)) return HeldKeysStep::release(keys, key.character, true);
        return HeldKeysStep::hold(keys + key.character);
    case KeyInput::Kind::space:
        return HeldKeysStep::release(keys, " ", true);
    case KeyInput::Kind::enter:
        return {Change::commit, keys, {}, true};
    case KeyInput::Kind::escape:
        return {Change::discard, {}, {}, true};
    case KeyInput::Kind::backspace: {
        auto characters = characterViews(keys);
        characters.pop_back();
        if (characters.empty()) return {Change::discard, {}, {}, true};
        return HeldKeysStep::hold(joinedCharacters(characters, 0, characters.size()));
    }
    case KeyInput::Kind::tab:
    case KeyInput::Kind::arrowLeft:
    case KeyInput::Kind::arrowRight:
    case KeyInput::Kind::arrowDown:
        return HeldKeysStep::release(keys, "", false); // the key then acts on the composition
    default:                                           // arrowUp, pageUp, pageDown
        return HeldKeysStep::hold(keys);
    }
}

InputEngine::MaybeOutput InputEngine::handleInHeldEnglish(const KeyInput& key) {
    const HeldEnglish held = std::get<HeldEnglish>(state_);
    // A tone key may end a syllable after the held keys (Space is the first tone).
    const bool typesKey = key.kind == KeyInput::Kind::character || key.kind == KeyInput::Kind::englishLiteral;
    if ((typesKey && acceptSyllableAfterHeldEnglish(held.keys, key.character)) ||
        (key.kind == KeyInput::Kind::space && acceptSyllableAfterHeldEnglish(held.keys, " ")))
        return handled();
    return carryOut(held.take(key), true);
}

} // namespace kelvo
