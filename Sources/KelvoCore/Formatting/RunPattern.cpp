#include "Formatting/RunPattern.hpp"

#include <memory>
#include <stdexcept>
#include <unicode/regex.h>

namespace kelvo {
namespace {

const icu::RegexPattern& runPattern() {
    static const std::unique_ptr<icu::RegexPattern> pattern = [] {
        UErrorCode status = U_ZERO_ERROR;
        UParseError error;
        std::unique_ptr<icu::RegexPattern> compiled(
            icu::RegexPattern::compile(icu::UnicodeString::fromUTF8(runPatternSource), 0, error, status));
        // The pattern is a constant of the program; failing to compile it is a programming error.
        if (U_FAILURE(status)) throw std::logic_error("run pattern does not compile");
        return compiled;
    }();
    return *pattern;
}

} // namespace

std::vector<UTF16Range> runsOf(const icu::UnicodeString& text) {
    std::vector<UTF16Range> runs;
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::RegexMatcher> matcher(runPattern().matcher(text, status));
    if (U_FAILURE(status)) return runs;
    while (matcher->find(status) && U_SUCCESS(status)) {
        auto start = static_cast<std::size_t>(matcher->start(status));
        auto end = static_cast<std::size_t>(matcher->end(status));
        runs.push_back(UTF16Range{start, end});
    }
    return runs;
}

} // namespace kelvo
