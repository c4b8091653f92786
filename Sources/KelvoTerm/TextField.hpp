#pragma once

#include "Engine/InputEngine.hpp"

#include <string>
#include <string_view>

namespace kelvo::term {

// A plain text field receiving what the input method hands it for each key: committed text, and
// the keys the engine passes on as an application would take them.
class TextField {
public:
    // A passed-on Enter adds a line break only in a field that takes several lines.
    explicit TextField(bool multiline = false) : multiline_(multiline) {}

    void receive(const KeyInput& key, const InputEngine::Output& output);
    void insert(std::string_view text) { text_ += text; }
    // Deletes the last character, as Backspace does in a field.
    void deleteBackward();
    const std::string& text() const { return text_; }

private:
    bool multiline_;
    std::string text_;
};

// The text on one line: a line feed as \n and a backslash as \\.
std::string escapedLine(std::string_view text);

} // namespace kelvo::term
