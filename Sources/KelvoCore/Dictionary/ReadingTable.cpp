#include "Dictionary/ReadingTable.hpp"

#include <bit>
#include <functional>

namespace kelvo {

ReadingTable::ReadingTable(std::size_t expectedCount)
    : slots_(std::bit_ceil(std::max<std::size_t>(16, expectedCount * 2))) {
    keys_.reserve(expectedCount);
}

std::uint32_t ReadingTable::hashOf(std::string_view reading) {
    return static_cast<std::uint32_t>(std::hash<std::string_view>{}(reading));
}

std::uint32_t ReadingTable::find(std::string_view reading) const {
    const std::uint32_t hash = hashOf(reading);
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        const Slot& slot = slots_[i];
        if (slot.number == absent) return absent;
        if (slot.hash == hash && keys_[slot.number] == reading) return slot.number;
    }
}

std::uint32_t ReadingTable::insert(std::string_view reading) {
    if ((keys_.size() + 1) * 2 > slots_.size()) grow();
    const std::uint32_t hash = hashOf(reading);
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        Slot& slot = slots_[i];
        if (slot.number == absent) {
            slot = Slot{hash, static_cast<std::uint32_t>(keys_.size())};
            keys_.push_back(reading);
            return slot.number;
        }
        if (slot.hash == hash && keys_[slot.number] == reading) return slot.number;
    }
}

void ReadingTable::grow() {
    std::vector<Slot> old(slots_.size() * 2);
    old.swap(slots_);
    const std::size_t mask = slots_.size() - 1;
    for (const Slot& slot : old) {
        if (slot.number == absent) continue;
        std::size_t i = slot.hash & mask;
        while (slots_[i].number != absent)
            i = (i + 1) & mask;
        slots_[i] = slot;
    }
}

} // namespace kelvo
