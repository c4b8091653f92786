#include "TerminalInput.hpp"

#include "Engine/KeyScript.hpp"

#include <map>

namespace kelvo::term {
namespace {

TerminalEvent key(KeyInput::Kind kind) {
    return {TerminalEvent::Kind::key, KeyInput::of(kind)};
}

// Escape sequences, both the normal and the application cursor forms.
const std::map<std::string_view, TerminalEvent, std::less<>>& sequences() {
    static const std::map<std::string_view, TerminalEvent, std::less<>> table = {
        {"\x1b[A", key(KeyInput::Kind::arrowUp)},
        {"\x1bOA", key(KeyInput::Kind::arrowUp)},
        {"\x1b[B", key(KeyInput::Kind::arrowDown)},
        {"\x1bOB", key(KeyInput::Kind::arrowDown)},
        {"\x1b[C", key(KeyInput::Kind::arrowRight)},
        {"\x1bOC", key(KeyInput::Kind::arrowRight)},
        {"\x1b[D", key(KeyInput::Kind::arrowLeft)},
        {"\x1bOD", key(KeyInput::Kind::arrowLeft)},
        {"\x1b[5~", key(KeyInput::Kind::pageUp)},
        {"\x1b[6~", key(KeyInput::Kind::pageDown)},
        {"\x1bOQ", {TerminalEvent::Kind::toggleMode, {}}},
        {"\x1b[12~", {TerminalEvent::Kind::toggleMode, {}}},
    };
    return table;
}

} // namespace

std::vector<TerminalEvent> decodeTerminalInput(std::string_view bytes) {
    std::vector<TerminalEvent> events;
    for (std::size_t i = 0; i < bytes.size();) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte == 0x1b) {
            std::string_view rest = bytes.substr(i);
            bool matched = false;
            for (const auto& [sequence, event] : sequences()) {
                if (rest.starts_with(sequence)) {
                    events.push_back(event);
                    i += sequence.size();
                    matched = true;
                    break;
                }
            }
            if (matched) continue;
            // A lone Escape, or a sequence this program does not know: skip the whole sequence.
            if (rest.size() == 1 || (rest[1] != '[' && rest[1] != 'O')) {
                events.push_back(key(KeyInput::Kind::escape));
                ++i;
                continue;
            }
            std::size_t end = 2;
            while (end < rest.size() && !(rest[end] >= 0x40 && rest[end] <= 0x7E))
                ++end;
            i += std::min(end + 1, rest.size());
            continue;
        }
        ++i;
        if (byte == 0x04 || byte == 0x03)
            events.push_back({TerminalEvent::Kind::quit, {}});
        else if (byte == '\r' || byte == '\n')
            events.push_back(key(KeyInput::Kind::enter));
        else if (byte == '\t')
            events.push_back(key(KeyInput::Kind::tab));
        else if (byte == 0x7f || byte == 0x08)
            events.push_back(key(KeyInput::Kind::backspace));
        else if (byte >= 0x20 && byte <= 0x7e)
            events.push_back({TerminalEvent::Kind::key, keyForCharacter(static_cast<char>(byte))});
    }
    return events;
}

} // namespace kelvo::term
