// A text shortcut typed as ";;" and a key: Tab expands it, Space or any key it cannot hold releases
// it as the literal text typed, Escape discards it.
#include "Engine/InputEngine.hpp"
#include "Text/Characters.hpp"

namespace kelvo {
namespace {

constexpr std::size_t longestShortcutBuffer = 34; // ";;" and a 32-character trigger

bool isShortcutKey(std::string_view c) {
    return isASCII(c) && (isLetter(c) || isNumber(c) || c == "_" || c == "-");
}

} // namespace

InputEngine::MaybeOutput InputEngine::handleInShortcutBuffer(const KeyInput& key) {
    const std::string keys = std::get<ShortcutBuffer>(state_).keys;
    auto release = [&](std::string_view followedBy) {
        state_ = Composing{};
        insertLiteralCharacters(keys + std::string(followedBy));
    };
    if (!settings_.customText) {
        release("");
        return std::nullopt;
    }
    switch (key.kind) {
    case KeyInput::Kind::character:
    case KeyInput::Kind::englishLiteral:
        if (isShortcutKey(key.character) && characterCount(keys) < longestShortcutBuffer) {
            std::get<ShortcutBuffer>(state_).keys += key.character;
            return handled();
        }
        release("");
        return std::nullopt;
    case KeyInput::Kind::space:
        release(" ");
        return handled();
    case KeyInput::Kind::enter:
        return handleEnter(); // the buffer is committed as typed
    case KeyInput::Kind::escape:
        state_ = Composing{};
        return handled();
    case KeyInput::Kind::backspace: {
        std::string rest = keys.substr(0, keys.size() - 1); // the buffer holds ASCII keys only
        if (rest.size() > 1) {
            std::get<ShortcutBuffer>(state_).keys = std::move(rest);
        } else {
            state_ = Composing{};
            insertLiteralCharacters(rest); // the remaining ";" becomes a literal
        }
        return handled();
    }
    case KeyInput::Kind::tab: {
        if (!settings_.customTexts) return handled();
        auto expansion = settings_.customTexts->expansion(std::string_view(keys).substr(2));
        if (!expansion) return handled(); // the buffer stays
        state_ = Composing{};
        insertLiteral(*expansion);
        return handled();
    }
    default:
        release("");
        return std::nullopt;
    }
}

} // namespace kelvo
