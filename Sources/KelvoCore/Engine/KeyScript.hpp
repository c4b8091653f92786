#pragma once

#include "Engine/KeyInput.hpp"

#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace kelvo {

// A line of keys: printable ASCII characters are character keys (upper-case letters are typed with
// Shift), a space is the Space bar, {enter} {tab} {esc} {bs} {left} {right} {up} {down} {pgup}
// {pgdn} name the other keys, {hold:x} is an auto-repeat of x, {{ is the character "{" and a Zhuyin
// syllable in braces ({ㄋㄧˇ}) types its Dachen keys. The one notation of keys for kelvo-term and tests.
// Answers the keys, or a message that says what is wrong.
std::variant<std::vector<KeyInput>, std::string> parseKeyScript(std::string_view script);

// The key a printable ASCII character types: upper-case letters are English literals.
KeyInput keyForCharacter(char character);

} // namespace kelvo
