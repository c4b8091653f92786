#pragma once

#include "InputClient.hpp"

#include <optional>
#include <string>

namespace kelvo::platform {

// The client's text around the caret as X11-based frameworks report it: offsets in characters
// (Unicode scalars). The host counts UTF-16 units; these answer in them.
struct SurroundingText {
    std::string text;
    int cursor = 0; // in scalars
    int anchor = 0; // in scalars

    std::optional<TextRange> selectedRange() const;
    std::optional<std::string> textIn(TextRange range) const;
    // How many scalars a stretch given in UTF-16 units holds; its length in units when the text
    // does not reach that far.
    int scalarsIn(TextRange range) const;
};

// A client of such a framework: its selection and text, in UTF-16 units, come from the surrounding
// text the framework reports.
class SurroundingTextClient : public InputClient {
public:
    std::optional<TextRange> selectedRange() override {
        auto around = surrounding();
        return around ? around->selectedRange() : std::nullopt;
    }
    std::optional<std::string> text(TextRange range) override {
        auto around = surrounding();
        return around ? around->textIn(range) : std::nullopt;
    }

protected:
    // None when the client does not tell.
    virtual std::optional<SurroundingText> surrounding() = 0;
};

// The scalar index and the byte offset of a UTF-16 offset into a text (clamped to its end).
int scalarIndexOfUTF16(const std::string& text, int utf16Offset);
int byteOffsetOfUTF16(const std::string& text, int utf16Offset);

} // namespace kelvo::platform
