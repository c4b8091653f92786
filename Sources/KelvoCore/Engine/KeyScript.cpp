#include "Engine/KeyScript.hpp"

#include "Zhuyin/DachenLayout.hpp"

#include <map>

namespace kelvo {

KeyInput keyForCharacter(char character) {
    if (character == ' ') return KeyInput::of(KeyInput::Kind::space);
    std::string text(1, character);
    if (character >= 'A' && character <= 'Z') return KeyInput::english(std::move(text));
    return KeyInput::typed(std::move(text));
}

std::variant<std::vector<KeyInput>, std::string> parseKeyScript(std::string_view script) {
    static const std::map<std::string, KeyInput::Kind, std::less<>> named = {
        {"enter", KeyInput::Kind::enter},    {"tab", KeyInput::Kind::tab},
        {"esc", KeyInput::Kind::escape},     {"bs", KeyInput::Kind::backspace},
        {"left", KeyInput::Kind::arrowLeft}, {"right", KeyInput::Kind::arrowRight},
        {"up", KeyInput::Kind::arrowUp},     {"down", KeyInput::Kind::arrowDown},
        {"pgup", KeyInput::Kind::pageUp},    {"pgdn", KeyInput::Kind::pageDown},
    };
    std::vector<KeyInput> keys;
    for (std::size_t i = 0; i < script.size(); ++i) {
        char c = script[i];
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7E)
            return "character " + std::to_string(i + 1) + " is not printable ASCII";
        if (c != '{') {
            keys.push_back(keyForCharacter(c));
            continue;
        }
        if (i + 1 < script.size() && script[i + 1] == '{') {
            keys.push_back(KeyInput::typed("{"));
            ++i;
            continue;
        }
        std::size_t close = script.find('}', i);
        if (close == std::string_view::npos) return "unclosed { at character " + std::to_string(i + 1);
        std::string_view name = script.substr(i + 1, close - i - 1);
        if (auto key = named.find(name); key != named.end()) {
            keys.push_back(KeyInput::of(key->second));
        } else if (auto syllable = DachenLayout::keys(name)) {
            for (char k : *syllable)
                keys.push_back(keyForCharacter(k));
        } else if (name.starts_with("hold:") && name.size() == 6 && name[5] >= 0x21 && name[5] <= 0x7E) {
            keys.push_back(KeyInput::repeated(std::string(1, name[5])));
        } else {
            return "unknown key {" + std::string(name) + "}";
        }
        i = close;
    }
    return keys;
}

} // namespace kelvo
