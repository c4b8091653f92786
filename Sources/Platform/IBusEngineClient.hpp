#pragma once

// The client side of one IBus engine object (one input context): what the host shows and commits,
// sent to the application through the IBus daemon.
#include "IBusClientKind.hpp"
#include "SurroundingText.hpp"

#include <ibus.h>

namespace kelvo::platform {

class IBusEngineClient : public SurroundingTextClient {
public:
    explicit IBusEngineClient(IBusEngine* engine) : engine_(engine) {}
    // The commit takes the marked text's place. Clients keep marked text until told otherwise, and
    // the daemon inserts what is left of it when the focus moves, so it is cleared first.
    void insertText(const std::string& text) override;
    void setClientName(std::string_view name) { kind_ = IBusClientKind::named(name); }
    void setMarkedText(const MarkedText& marked, std::optional<TextRange> replacing) override;

    // The desktop's IBus panel draws the list: a lookup table of the items with their labels. A
    // table holds one page of at most 16 (IBus aborts on more), so of a longer list, such as the
    // expanded grid, it gets the 16 around the highlight. Each change is a message through the
    // daemon that the key's answer waits for, so what is hidden is not hidden again.
    void showCandidates(const CandidateList& list) override;

    // IBus shows an engine's properties in the desktop's input source menu.
    void setMenu(const std::vector<std::pair<std::string, std::string>>& items) override;

    std::string applicationIdentifier() override { return "unknown"; } // IBus does not name the client

    // IBus reports one rectangle, the caret's, in screen coordinates with y growing downwards; it
    // serves every character.
    Rect lineRectangle(int) override;
    void setCursorLocation(const Rect& rect) { cursor_ = rect; }
    void forgetShown() { shown_.forget(); }
    // Runs the host's handling of a composition the client ends (the focus moves, a click resets
    // it, the input source changes). Its commit is not sent where the client or the daemon inserts
    // the marked text itself (see IBusClientKind): it would be inserted twice, the second time into
    // whichever field has the focus by now.
    template <typename Action> void endingComposition(bool reset, Action action) {
        frameworkInsertsMarked_ = !(reset && kind_.dropsMarkedTextOnReset);
        action();
        frameworkInsertsMarked_ = false;
        shown_.forget();
    }
    const Rect& cursorLocation() const { return cursor_; }
    // The position in the host's list of a candidate the panel shows at `index`.
    int listPosition(int index) const { return firstShown_ + index; }

private:
    std::optional<SurroundingText> surrounding() override;

    // Deletes a stretch that ends at the caret, given in UTF-16 units.
    void deleteBeforeCaret(TextRange range);

    IBusEngine* engine_;
    IBusClientKind kind_;
    ShownState shown_;
    static constexpr int maxTableItems = 16;
    int firstShown_ = 0;
    bool frameworkInsertsMarked_ = false;
    bool tableShown_ = false;
    bool noteShown_ = false;
    Rect cursor_;
};

} // namespace kelvo::platform
