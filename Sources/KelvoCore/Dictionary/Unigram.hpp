#pragma once

#include <string>

namespace kelvo {

// One word for a reading: a dictionary entry or a learned word. Scores are log-probability-like,
// higher is better.
struct Unigram {
    std::string value;
    double score = 0.0;

    friend bool operator==(const Unigram&, const Unigram&) = default;
};

} // namespace kelvo
