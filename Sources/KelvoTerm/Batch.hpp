#pragma once

#include "Session.hpp"

#include <iosfwd>

namespace kelvo::term {

// Types each line of `input` as a key script into a fresh engine and a fresh text field, and writes
// one line per script: what the field holds after the keys and a final commit. A malformed script
// is reported on `errors` and gives an empty line. With timing on, the cost of every key (the key
// and the views a host redraws after it) is summed up on `errors`. Answers the exit status.
int runBatch(std::istream& input, std::ostream& output, std::ostream& errors,
             const SharedResources& resources, const TermSettings& settings);

} // namespace kelvo::term
