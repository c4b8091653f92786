#pragma once

#include "Dictionary/DecodedSegment.hpp"
#include "Engine/KeyInput.hpp"
#include "Engine/ListStep.hpp"

#include <vector>

namespace kelvo {

// The candidate list for the stretch at the cursor.
struct CandidateSheet {
    std::vector<DecodedSegment> all; // every candidate, in offer order; never empty
    int anchor = 0;                  // element where the list belongs
    int highlighted = 0;             // index into `all`
    bool expanded = false;           // shown as a grid of every candidate

    // What `key` does to the list, `pageSize` candidates to a page; moves the highlight itself.
    ListStep take(const KeyInput& key, int pageSize);

    friend bool operator==(const CandidateSheet&, const CandidateSheet&) = default;
};

} // namespace kelvo
