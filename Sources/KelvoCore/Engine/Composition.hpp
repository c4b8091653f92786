#pragma once

#include "Dictionary/DecodedSegment.hpp"
#include "Dictionary/Element.hpp"

#include <optional>
#include <set>
#include <string>
#include <vector>

namespace kelvo {

// What the user has typed so far, as elements (one per syllable or literal), with the keys typed
// for each, the stretches the user pinned, the elements whose letter case was chosen explicitly,
// and the cursor between elements. Every edit keeps the four in step: an insertion or removal
// shifts the pins and indices after it and drops a pin it cuts through.
class Composition {
public:
    const std::vector<Element>& elements() const { return elements_; }
    const std::vector<std::string>& keys() const { return keys_; }
    const std::vector<DecodedSegment>& pins() const { return pins_; }
    const std::set<int>& explicitCase() const { return explicitCase_; }
    int cursor() const { return cursor_; }
    int count() const { return static_cast<int>(elements_.size()); }
    bool isEmpty() const { return elements_.empty(); }
    bool cursorAtEnd() const { return cursor_ == count(); }

    // The element just before the cursor, if any.
    const Element* elementBeforeCursor() const;
    // The element a candidate list opened now is about: the one before the cursor, or the first.
    std::optional<int> anchorIndex() const;

    // Inserts at the cursor and moves the cursor past it. A reading keeps the keys typed for it;
    // a literal's keys are its text.
    void insert(Element element, std::string keys = {});
    // Removes element `index`, which lies before the cursor; the cursor moves back by one.
    void remove(int index);
    void removeBeforeCursor() { remove(cursor_ - 1); }
    // Moves the cursor by `offset` elements, never past either end.
    void moveCursor(int offset);
    void placeCursor(int position);
    // Pins a chosen segment, dropping the pins it overlaps.
    void pin(DecodedSegment segment);
    void markExplicitCase(int index) { explicitCase_.insert(index); }

    friend bool operator==(const Composition&, const Composition&) = default;

private:
    std::vector<Element> elements_;
    std::vector<std::string> keys_;
    std::vector<DecodedSegment> pins_;
    std::set<int> explicitCase_;
    int cursor_ = 0;
};

} // namespace kelvo
