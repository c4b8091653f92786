#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unicode/unistr.h>

namespace kelvo {

// A half-open range of UTF-16 code-unit offsets, as the host and the formatting count text.
struct UTF16Range {
    std::size_t lower = 0;
    std::size_t upper = 0;

    bool contains(std::size_t offset) const { return lower <= offset && offset < upper; }
    // Both ranges non-empty and sharing at least one offset.
    bool overlaps(std::size_t start, std::size_t end) const {
        return lower < upper && start < end && lower < end && start < upper;
    }
    friend bool operator==(const UTF16Range&, const UTF16Range&) = default;
};

// Conversions for ICU's UTF-16 APIs (regular expressions); ill-formed UTF-8 becomes U+FFFD.
inline icu::UnicodeString toUTF16(std::string_view text) {
    return icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
}

inline std::string toUTF8(const icu::UnicodeString& text) {
    std::string result;
    text.toUTF8String(result);
    return result;
}

} // namespace kelvo
