#pragma once

#include "ScreenGeometry.hpp"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kelvo::platform {

// A key event as the host's input controller sees it: macOS-style key codes and modifier flags,
// whatever the platform's own event model.
struct KeyEvent {
    enum class Type { keyDown, flagsChanged, rightMouseDown };
    Type type = Type::keyDown;
    std::uint16_t keyCode = 0;       // a KeyCode for keys that type no character
    std::string characters;          // what the key types on a US layout
    std::uint32_t modifierFlags = 0; // the flags of namespace modifier
    bool isARepeat = false;
    double timestamp = 0; // seconds
};

// Marked text as runs of one style each, with the caret in UTF-16 units.
struct MarkedText {
    enum class Style { converted, active, raw };
    struct Piece {
        std::string text;
        Style style = Style::converted;
        bool operator==(const Piece&) const = default;
    };
    std::vector<Piece> pieces;
    int caretUTF16 = 0;
    bool operator==(const MarkedText&) const = default;
};

// The candidates shown beside the text: the items of the current page (or of the whole grid), each
// with its label, and the highlighted one; an empty list hides it. The note is shown with it, or
// alone (the composition feedback) when there are no items.
struct CandidateList {
    struct Item {
        std::string label;
        std::string value;
        bool operator==(const Item&) const = default;
    };
    std::vector<Item> items;
    int highlighted = -1;
    int pageIndex = 0; // the shown page of the whole list
    int pageCount = 1;
    std::string note; // shown with the list: the composition feedback, or a page number
    bool operator==(const CandidateList&) const = default;
};

// Where the stretch of at most `most` items starts that holds the highlighted item (the first such
// stretch when nothing is highlighted): what a framework that shows no more than `most` at once is
// given of a longer list, such as an expanded grid.
inline int firstShownItem(const CandidateList& list, int most) {
    const int count = static_cast<int>(list.items.size());
    if (most <= 0 || count <= most) return 0;
    const int start = std::max(list.highlighted, 0) / most * most;
    return std::min(start, count - most);
}

// A stretch of the client's text in UTF-16 units.
struct TextRange {
    int location = 0;
    int length = 0;
};

// What a client last showed, so a backend sends no update that repeats it: every update is a
// message the key's answer waits for. Forgotten when the client may have changed it itself (a
// commit, focus, a reset).
struct ShownState {
    std::optional<MarkedText> marked;
    std::optional<CandidateList> list;

    // True when `next` differs from what is shown, which it then becomes.
    template <typename T> static bool changes(std::optional<T>& shown, const T& next) {
        if (shown == next) return false;
        shown = next;
        return true;
    }
    void forget() { *this = {}; }
};

// The application's text field, as the input method may change it.
class InputClient {
public:
    virtual ~InputClient() = default;
    virtual void insertText(const std::string& text) = 0;
    // An empty marked text hides it. With `replacing`, that stretch of the text is replaced.
    virtual void setMarkedText(const MarkedText& marked,
                               std::optional<TextRange> replacing = std::nullopt) = 0;
    // The selection (the caret when its length is 0); none when the client cannot tell.
    virtual std::optional<TextRange> selectedRange() = 0;
    // The client's text in a range; none when the client cannot tell.
    virtual std::optional<std::string> text(TextRange range) = 0;
    // Shows or hides the candidate list for this client.
    virtual void showCandidates(const CandidateList& list) = 0;
    // The input method's menu for this client: item keys with their labels, in order.
    virtual void setMenu(const std::vector<std::pair<std::string, std::string>>& items) = 0;
    // The application's identifier, or "unknown".
    virtual std::string applicationIdentifier() = 0;
    // The screen rectangle of the text line at a character (host coordinates); all zero when the
    // client does not tell.
    virtual Rect lineRectangle(int characterIndexUTF16) = 0;
    virtual int windowLevel() { return 0; }
};

// What the platform asks of the host for one input context.
class InputContextHandler {
public:
    virtual ~InputContextHandler() = default;
    // True when the event was consumed.
    virtual bool handle(const KeyEvent& event) = 0;
    virtual void activate() = 0;
    virtual void deactivate() = 0;
    // The client asks to end any composition (reset, disable).
    virtual void commitComposition() = 0;
    // A candidate shown in the list was clicked (its position in CandidateList::items).
    virtual void candidateClicked(int position) = 0;
    // An item of the menu was chosen.
    virtual void menuItemChosen(const std::string& key) = 0;
    // The client's text line moved (it reports its caret after the change that moved it).
    virtual void clientLineMoved() {}
};

// Makes the handler of a new input context, over its client.
using HandlerFactory = std::function<std::unique_ptr<InputContextHandler>(InputClient& client)>;

} // namespace kelvo::platform
