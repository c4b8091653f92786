#pragma once

#include <optional>
#include <string>

namespace kelvo {

// One word placed over a stretch of elements: a pin, a piece of the walk or a candidate.
struct DecodedSegment {
    int start = 0;
    int length = 1;
    std::string value;
    std::optional<std::string> reading; // the stretch's joined reading; none for a literal

    int end() const { return start + length; }

    friend bool operator==(const DecodedSegment&, const DecodedSegment&) = default;
};

} // namespace kelvo
