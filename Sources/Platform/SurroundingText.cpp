#include "SurroundingText.hpp"

#include <glib.h>

namespace kelvo::platform {
namespace {

std::u16string utf16Of(const std::string& text) {
    glong written = 0;
    gunichar2* units = g_utf8_to_utf16(text.c_str(), -1, nullptr, &written, nullptr);
    std::u16string result(reinterpret_cast<const char16_t*>(units), static_cast<std::size_t>(written));
    g_free(units);
    return result;
}

std::string utf8Of(const std::u16string& units) {
    gchar* text = g_utf16_to_utf8(reinterpret_cast<const gunichar2*>(units.data()),
                                  static_cast<glong>(units.size()), nullptr, nullptr, nullptr);
    std::string result = text ? text : "";
    g_free(text);
    return result;
}

// UTF-16 offset of the scalar with index `scalars`.
int utf16OffsetOfScalar(const std::string& text, int scalars) {
    int units = 0, index = 0;
    for (const char* at = text.c_str(); *at && index < scalars; at = g_utf8_next_char(at), ++index)
        units += g_utf8_get_char(at) > 0xFFFF ? 2 : 1;
    return units;
}

// The position in `text` where `utf16Offset` units end.
const char* pointerAtUTF16(const std::string& text, int utf16Offset, int* scalars) {
    const char* at = text.c_str();
    int units = 0;
    *scalars = 0;
    for (; *at && units < utf16Offset; at = g_utf8_next_char(at), ++*scalars)
        units += g_utf8_get_char(at) > 0xFFFF ? 2 : 1;
    return at;
}

std::optional<std::u16string> stretch(const std::string& text, TextRange range) {
    std::u16string units = utf16Of(text);
    if (range.location < 0 || range.length < 0 ||
        range.location + range.length > static_cast<int>(units.size()))
        return std::nullopt;
    return units.substr(static_cast<std::size_t>(range.location), static_cast<std::size_t>(range.length));
}

} // namespace

std::optional<TextRange> SurroundingText::selectedRange() const {
    int from = utf16OffsetOfScalar(text, std::min(cursor, anchor)),
        to = utf16OffsetOfScalar(text, std::max(cursor, anchor));
    return TextRange{from, to - from};
}

std::optional<std::string> SurroundingText::textIn(TextRange range) const {
    auto units = stretch(text, range);
    if (!units) return std::nullopt;
    return utf8Of(*units);
}

int SurroundingText::scalarsIn(TextRange range) const {
    auto units = stretch(text, range);
    if (!units) return range.length;
    return static_cast<int>(g_utf8_strlen(utf8Of(*units).c_str(), -1));
}

int scalarIndexOfUTF16(const std::string& text, int utf16Offset) {
    int scalars = 0;
    pointerAtUTF16(text, utf16Offset, &scalars);
    return scalars;
}

int byteOffsetOfUTF16(const std::string& text, int utf16Offset) {
    int scalars = 0;
    return static_cast<int>(pointerAtUTF16(text, utf16Offset, &scalars) - text.c_str());
}

} // namespace kelvo::platform
