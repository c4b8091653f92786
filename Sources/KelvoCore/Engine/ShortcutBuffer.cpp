// A text shortcut typed as ";;" and a key: Tab expands it, Space or any key it cannot hold releases
// it as the literal text typed, Escape discards it.
#include "Engine/ShortcutBuffer.hpp"

#include "Engine/InputEngine.hpp"
#include "PersonalData/CustomTextStore.hpp"
#include "Text/Characters.hpp"

namespace kelvo {
namespace {

constexpr std::size_t longestShortcutBuffer = 34; // ";;" and a 32-character trigger

bool isShortcutKey(std::string_view c) {
    return isASCII(c) && (isLetter(c) || isNumber(c) || c == "_" || c == "-");
}

} // namespace

HeldKeysStep ShortcutBuffer::take(const KeyInput& key, bool shortcutsOn, const CustomTextStore* texts) const {
    using Change = HeldKeysStep::Change;
    if (!shortcutsOn) return HeldKeysStep::release(keys, "", false);
    switch (key.kind) {
    case KeyInput::Kind::character:
    case KeyInput::Kind::englishLiteral:
        if (isShortcutKey(key.character) && characterCount(keys) < longestShortcutBuffer)
            return HeldKeysStep::hold(keys + key.character);
        return HeldKeysStep::release(keys, "", false);
    case KeyInput::Kind::space:
        return HeldKeysStep::release(keys, " ", true);
    case KeyInput::Kind::enter:
        return {Change::commit, keys, {}, true}; // the buffer is committed as typed
    case KeyInput::Kind::escape:
        return {Change::discard, {}, {}, true};
    case KeyInput::Kind::backspace: {
        std::string rest = keys.substr(0, keys.size() - 1); // the buffer holds ASCII keys only
        if (rest.size() > 1) return HeldKeysStep::hold(std::move(rest));
        return HeldKeysStep::release(std::move(rest), "", true); // the remaining ";" is a literal
    }
    case KeyInput::Kind::tab:
        if (auto expansion = texts ? texts->expansion(std::string_view(keys).substr(2)) : std::nullopt)
            return {Change::expand, *expansion, {}, true};
        return HeldKeysStep::hold(keys); // no such shortcut: the buffer stays
    default:
        return HeldKeysStep::release(keys, "", false);
    }
}

InputEngine::MaybeOutput InputEngine::handleInShortcutBuffer(const KeyInput& key) {
    const auto& buffer = std::get<ShortcutBuffer>(state_);
    return carryOut(buffer.take(key, settings_.customText, settings_.customTexts.get()), false);
}

} // namespace kelvo
