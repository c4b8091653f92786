#include "TextField.hpp"

#include "Text/Characters.hpp"

namespace kelvo::term {

void TextField::receive(const KeyInput& key, const InputEngine::Output& output) {
    if (output.commitText) text_ += *output.commitText;
    if (output.handled) return;
    switch (key.kind) {
    case KeyInput::Kind::character:
    case KeyInput::Kind::repeatedCharacter:
    case KeyInput::Kind::englishLiteral:
        text_ += key.character;
        break;
    case KeyInput::Kind::space:
        text_ += ' ';
        break;
    case KeyInput::Kind::backspace:
        deleteBackward();
        break;
    case KeyInput::Kind::enter:
        if (multiline_) text_ += '\n';
        break;
    default: // Tab, Escape and the arrows add nothing to a plain field
        break;
    }
}

void TextField::deleteBackward() {
    auto characters = characterViews(text_);
    if (characters.empty()) return;
    text_.resize(static_cast<std::size_t>(characters.back().data() - text_.data()));
}

std::string escapedLine(std::string_view text) {
    std::string line;
    for (char c : text) {
        if (c == '\n')
            line += "\\n";
        else if (c == '\\')
            line += "\\\\";
        else
            line += c;
    }
    return line;
}

} // namespace kelvo::term
