#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace kelvo {

// Maps reading keys to small integers, for the lexicon. Open addressing in one flat array: loading
// the dictionary inserts over a hundred thousand readings, and a node-based map spends most of that
// time allocating nodes and chasing pointers. Keys are views; their text must outlive the table.
class ReadingTable {
public:
    static constexpr std::uint32_t absent = UINT32_MAX;

    explicit ReadingTable(std::size_t expectedCount = 0);

    // The number of `reading`, inserting it with the next number when it is new.
    std::uint32_t insert(std::string_view reading);
    // The number of `reading`, or `absent`.
    std::uint32_t find(std::string_view reading) const;
    std::size_t size() const { return keys_.size(); }

private:
    struct Slot {
        std::uint32_t hash = 0;
        std::uint32_t number = absent;
    };

    static std::uint32_t hashOf(std::string_view reading);
    void grow();

    std::vector<Slot> slots_; // capacity is a power of two, at most half full
    std::vector<std::string_view> keys_;
};

} // namespace kelvo
