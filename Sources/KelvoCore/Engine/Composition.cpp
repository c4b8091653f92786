#include "Engine/Composition.hpp"

#include <algorithm>

namespace kelvo {

const Element* Composition::elementBeforeCursor() const {
    return cursor_ >= 1 ? &elements_[cursor_ - 1] : nullptr;
}

std::optional<int> Composition::anchorIndex() const {
    if (elements_.empty()) return std::nullopt;
    return std::clamp(cursor_ - 1, 0, count() - 1);
}

void Composition::insert(Element element, std::string keys) {
    const int at = cursor_;
    std::vector<DecodedSegment> pins;
    for (DecodedSegment pin : pins_) {
        if (at >= pin.end()) {
            pins.push_back(std::move(pin));
        } else if (pin.start >= at) {
            ++pin.start;
            pins.push_back(std::move(pin));
        } // a cursor strictly inside the pin drops it
    }
    pins_ = std::move(pins);
    std::set<int> shifted;
    for (int index : explicitCase_)
        shifted.insert(index >= at ? index + 1 : index);
    explicitCase_ = std::move(shifted);
    if (!element.isReading()) keys = element.text;
    keys_.insert(keys_.begin() + at, std::move(keys));
    elements_.insert(elements_.begin() + at, std::move(element));
    ++cursor_;
}

void Composition::remove(int index) {
    std::vector<DecodedSegment> pins;
    for (DecodedSegment pin : pins_) {
        if (pin.end() <= index) {
            pins.push_back(std::move(pin));
        } else if (index < pin.start) {
            --pin.start;
            pins.push_back(std::move(pin));
        } // a pin over the element goes with it
    }
    pins_ = std::move(pins);
    std::set<int> shifted;
    for (int i : explicitCase_)
        if (i != index) shifted.insert(i > index ? i - 1 : i);
    explicitCase_ = std::move(shifted);
    keys_.erase(keys_.begin() + index);
    elements_.erase(elements_.begin() + index);
    if (index < cursor_) --cursor_;
}

void Composition::moveCursor(int offset) {
    placeCursor(cursor_ + offset);
}

void Composition::placeCursor(int position) {
    cursor_ = std::clamp(position, 0, count());
}

void Composition::pin(DecodedSegment segment) {
    std::erase_if(pins_, [&](const DecodedSegment& pin) {
        return pin.start < segment.end() && segment.start < pin.end();
    });
    pins_.push_back(std::move(segment));
}

} // namespace kelvo
