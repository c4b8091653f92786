#pragma once

#include "Text/UTF16.hpp"

#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// The preferred spelling of English terms (API, GitHub, macOS): tokens typed all in lower case are
// given their preferred capitalisation at commit.
namespace kelvo::PreferredTerms {

// Lower-case term -> preferred spelling.
using Terms = std::map<std::string, std::string, std::less<>>;

const Terms& builtIn();

// A line of the user's term list that is not "term = Spelling" with the same letters on both sides.
class ParseError : public std::runtime_error {
public:
    enum class Kind { invalidLine };

    explicit ParseError(std::string line)
        : std::runtime_error("invalid line: " + line), kind(Kind::invalidLine), line(std::move(line)) {}

    Kind kind;
    std::string line; // as it stood in the input, before trimming
};

// Replaces every all-lower-case token that is a known term (the built-in ones, overridden by
// `overrides`) unless it overlaps one of the preserved UTF-16 ranges.
std::string apply(std::string_view text, const Terms& overrides,
                  const std::vector<UTF16Range>& preservingCaseIn);

// Reads the user's list, one "term = Spelling" per line. Throws ParseError at the first bad line.
Terms parse(std::string_view text);

} // namespace kelvo::PreferredTerms
