#pragma once

#include "Text/UTF16.hpp"

#include <unicode/unistr.h>
#include <vector>

namespace kelvo {

// Runs of ASCII letters, digits and the characters of addresses, paths and numbers
// (_ @ . / : + % ? & # = ~ \ -): the text that punctuation conversion and preferred terms treat
// as one token. The pattern is compiled once per process.
inline constexpr const char* runPatternSource = R"([A-Za-z0-9_@./:+%?&#=~\\-]+)";

// Every match of the run pattern in `text`, in order, as UTF-16 ranges.
std::vector<UTF16Range> runsOf(const icu::UnicodeString& text);

} // namespace kelvo
