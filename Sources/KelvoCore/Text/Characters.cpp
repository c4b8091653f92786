#include "Text/Characters.hpp"

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <unicode/brkiter.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/utext.h>
#include <unicode/utf8.h>

namespace kelvo {
namespace {

// Creating a break iterator loads ICU's rules; one per thread is made and reused.
icu::BreakIterator& characterBreaker() {
    thread_local std::unique_ptr<icu::BreakIterator> breaker = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::BreakIterator> made(
            icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
        if (U_FAILURE(status) || !made) throw std::runtime_error("ICU character break iterator unavailable");
        return made;
    }();
    return *breaker;
}

bool isAllASCII(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Calls `visit(begin, end)` with the byte range of each character of `text`.
template <class Visit> void forEachCharacterRange(std::string_view text, Visit visit) {
    if (text.empty()) return;
    // Typed keys are ASCII, where every byte is a character but CR LF: no need for ICU's rules.
    if (isAllASCII(text)) {
        for (std::size_t begin = 0, end; begin < text.size(); begin = end) {
            end = begin + (text.compare(begin, 2, "\r\n") == 0 ? 2 : 1);
            visit(begin, end);
        }
        return;
    }
    UErrorCode status = U_ZERO_ERROR;
    UText* utext = utext_openUTF8(nullptr, text.data(), static_cast<int64_t>(text.size()), &status);
    if (U_FAILURE(status)) throw std::runtime_error("ICU could not open text");
    icu::BreakIterator& breaker = characterBreaker();
    breaker.setText(utext, status);
    int32_t begin = breaker.first();
    for (int32_t end = breaker.next(); end != icu::BreakIterator::DONE; end = breaker.next()) {
        visit(static_cast<std::size_t>(begin), static_cast<std::size_t>(end));
        begin = end;
    }
    // The iterator keeps a pointer to the text; detach it before the text goes away.
    static const icu::UnicodeString nothing;
    breaker.setText(nothing);
    utext_close(utext);
}

template <class Map> std::string caseMapped(std::string_view text, Map map) {
    icu::UnicodeString unicode =
        icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
    map(unicode);
    std::string result;
    unicode.toUTF8String(result);
    return result;
}

} // namespace

std::vector<std::string_view> characterViews(std::string_view text) {
    std::vector<std::string_view> views;
    forEachCharacterRange(
        text, [&](std::size_t begin, std::size_t end) { views.push_back(text.substr(begin, end - begin)); });
    return views;
}

std::vector<std::string> characters(std::string_view text) {
    std::vector<std::string> result;
    forEachCharacterRange(text, [&](std::size_t begin, std::size_t end) {
        result.emplace_back(text.substr(begin, end - begin));
    });
    return result;
}

std::size_t characterCount(std::string_view text) {
    std::size_t count = 0;
    forEachCharacterRange(text, [&](std::size_t, std::size_t) { ++count; });
    return count;
}

std::size_t utf16Length(std::string_view text) {
    std::size_t length = 0;
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    const auto size = static_cast<int32_t>(text.size());
    for (int32_t i = 0; i < size;) {
        UChar32 scalar;
        U8_NEXT_OR_FFFD(bytes, i, size, scalar);
        length += U16_LENGTH(scalar);
    }
    return length;
}

std::size_t utf16Offset(std::string_view text, std::size_t characterIndex) {
    std::size_t index = 0;
    std::size_t byteOffset = text.size();
    forEachCharacterRange(text, [&](std::size_t begin, std::size_t) {
        if (index++ == characterIndex) byteOffset = std::min(byteOffset, begin);
    });
    return utf16Length(text.substr(0, byteOffset));
}

std::optional<char32_t> firstScalar(std::string_view text) {
    if (text.empty()) return std::nullopt;
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    int32_t i = 0;
    UChar32 scalar;
    U8_NEXT_OR_FFFD(bytes, i, static_cast<int32_t>(text.size()), scalar);
    return static_cast<char32_t>(scalar);
}

bool isASCII(std::string_view character) {
    return character == "\r\n" || (character.size() == 1 && static_cast<unsigned char>(character[0]) < 0x80);
}

bool isLetter(std::string_view character) {
    auto scalar = firstScalar(character);
    return scalar && u_hasBinaryProperty(static_cast<UChar32>(*scalar), UCHAR_ALPHABETIC);
}

bool isNumber(std::string_view character) {
    auto scalar = firstScalar(character);
    return scalar && u_getIntPropertyValue(static_cast<UChar32>(*scalar), UCHAR_NUMERIC_TYPE) != U_NT_NONE;
}

bool isDecimalDigit(std::string_view character) {
    return decimalDigitValue(character).has_value();
}

std::optional<int> decimalDigitValue(std::string_view character) {
    auto scalar = firstScalar(character);
    if (!scalar || static_cast<std::size_t>(U8_LENGTH(static_cast<UChar32>(*scalar))) != character.size())
        return std::nullopt;
    if (u_charType(static_cast<UChar32>(*scalar)) != U_DECIMAL_DIGIT_NUMBER) return std::nullopt;
    return u_charDigitValue(static_cast<UChar32>(*scalar));
}

bool isHan(std::string_view character) {
    auto scalar = firstScalar(character);
    if (!scalar) return false;
    char32_t c = *scalar;
    return (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0x20000 && c <= 0x323AF);
}

bool isWhitespace(std::string_view character) {
    auto scalar = firstScalar(character);
    return scalar && u_hasBinaryProperty(static_cast<UChar32>(*scalar), UCHAR_WHITE_SPACE);
}

bool isPunctuation(std::string_view character) {
    auto scalar = firstScalar(character);
    return scalar && u_ispunct(static_cast<UChar32>(*scalar));
}

bool isSymbol(std::string_view character) {
    auto scalar = firstScalar(character);
    if (!scalar) return false;
    return (U_GET_GC_MASK(static_cast<UChar32>(*scalar)) & U_GC_S_MASK) != 0;
}

bool isASCIILetter(std::string_view character) {
    return isASCII(character) && isLetter(character);
}

bool isASCIIDigit(std::string_view character) {
    return isASCII(character) && isNumber(character);
}

std::string lowercased(std::string_view text) {
    std::string result;
    appendLowercased(result, text);
    return result;
}

void appendLowercased(std::string& out, std::string_view text) {
    // ASCII has no context-dependent or multi-character mappings, so mapping each scalar alone
    // gives the full mapping; it spares keys and the word list a round trip through UTF-16.
    if (std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        for (char c : text)
            out += static_cast<char>(u_tolower(static_cast<unsigned char>(c)));
        return;
    }
    out += caseMapped(text, [](icu::UnicodeString& s) { s.toLower(icu::Locale::getRoot()); });
}

std::string uppercased(std::string_view text) {
    return caseMapped(text, [](icu::UnicodeString& s) { s.toUpper(icu::Locale::getRoot()); });
}

std::optional<std::size_t> firstInvalidUTF8(std::string_view text) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    const auto size = static_cast<int32_t>(text.size());
    for (int32_t i = 0; i < size;) {
        int32_t start = i;
        UChar32 scalar;
        U8_NEXT(bytes, i, size, scalar);
        if (scalar < 0) return static_cast<std::size_t>(start);
    }
    return std::nullopt;
}

} // namespace kelvo
