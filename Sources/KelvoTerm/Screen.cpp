#include "Screen.hpp"

#include "Text/Characters.hpp"

namespace kelvo::term {
namespace {

constexpr const char* reverse = "\x1b[7m";
constexpr const char* underline = "\x1b[4m";
constexpr const char* plain = "\x1b[0m";
constexpr const char* caret = "\x1b[5m│\x1b[25m";

std::string styled(std::string_view text, InputEngine::Preedit::Style style) {
    switch (style) {
    case InputEngine::Preedit::Style::active:
        return reverse + std::string(text) + plain;
    case InputEngine::Preedit::Style::raw:
        return underline + std::string(text) + plain;
    case InputEngine::Preedit::Style::converted:
        break;
    }
    return std::string(text);
}

// The marked text with each piece in its style and the caret at its UTF-16 offset.
std::string markedLine(const InputEngine::Preedit& preedit) {
    std::string line;
    std::size_t offset = 0;
    bool caretShown = false;
    for (const auto& piece : preedit.pieces) {
        std::string before, after;
        bool split = false;
        for (std::string_view character : characterViews(piece.text)) {
            if (!caretShown && offset == static_cast<std::size_t>(preedit.caretUTF16)) {
                split = true;
                caretShown = true;
            }
            (split ? after : before) += character;
            offset += utf16Length(character);
        }
        line += styled(before, piece.style);
        if (split) line += caret;
        line += styled(after, piece.style);
    }
    if (!caretShown) line += caret;
    return line;
}

std::string sheetLines(const InputEngine::SheetView& sheet) {
    std::string lines;
    const int columns = sheet.expanded ? std::max(sheet.columns, 1) : static_cast<int>(sheet.items.size());
    for (std::size_t i = 0; i < sheet.items.size(); ++i) {
        const auto& item = sheet.items[i];
        bool highlighted = static_cast<int>(i) == sheet.highlightedInPage;
        std::string cell = (item.label.empty() ? std::string("  ") : item.label + ".") + item.value;
        lines += highlighted ? reverse + cell + plain : cell;
        bool rowEnds = (static_cast<int>(i) + 1) % columns == 0;
        lines += rowEnds && i + 1 < sheet.items.size() ? "\r\n" : "  ";
    }
    if (sheet.pageCount > 1)
        lines += " (" + std::to_string(sheet.pageIndex + 1) + "/" + std::to_string(sheet.pageCount) + ")";
    return lines + "\r\n";
}

} // namespace

ScreenState screenStateOf(const InputEngine& engine, std::string committed, bool chineseMode) {
    ScreenState state;
    state.committed = std::move(committed);
    state.chineseMode = chineseMode;
    state.preedit = engine.preedit();
    state.sheet = engine.sheetView();
    if (!state.sheet) state.sheet = engine.englishHintView();
    state.feedback = engine.feedback();
    return state;
}

std::string renderScreen(const ScreenState& state) {
    std::string screen = "\x1b[H\x1b[2J";
    screen += std::string("Kelvo ") + (state.chineseMode ? "中" : "英") + "  (F2 中/英, Ctrl-D 結束)\r\n\r\n";
    for (std::string_view character : characterViews(state.committed))
        screen += character == "\n" ? std::string("\r\n") : std::string(character);
    screen += state.chineseMode ? markedLine(state.preedit) : std::string(caret);
    screen += "\r\n\r\n";
    if (state.sheet) screen += sheetLines(*state.sheet);
    if (state.feedback) screen += state.feedback->zhuyin + "\r\n" + state.feedback->rawKeys + "\r\n";
    return screen;
}

} // namespace kelvo::term
