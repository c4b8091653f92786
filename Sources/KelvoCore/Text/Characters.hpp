#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Character helpers shared by the whole engine. A "character" is one user-perceived character, an
// extended grapheme cluster, held as its UTF-8 text. Offsets that leave the engine count UTF-16 code
// units; they are always computed from the text, never assumed from byte or character counts.
namespace kelvo {

// The characters of `text`, in order, each as a view into `text`.
std::vector<std::string_view> characterViews(std::string_view text);

// The characters of `text`, in order, each as its own string.
std::vector<std::string> characters(std::string_view text);

std::size_t characterCount(std::string_view text);

// Number of UTF-16 code units `text` takes (scalars outside the BMP take two).
std::size_t utf16Length(std::string_view text);

// UTF-16 offset at which the character with index `characterIndex` starts; an index at or past the
// end gives the UTF-16 length of the whole text.
std::size_t utf16Offset(std::string_view text, std::size_t characterIndex);

// The first Unicode scalar of `text`, or no value for empty text.
std::optional<char32_t> firstScalar(std::string_view text);

// Character classes. Each takes one character; for text of several characters the first scalar
// decides where the class is a property of a scalar.
bool isASCII(std::string_view character);        // one scalar below 128, or the CR LF pair
bool isLetter(std::string_view character);       // Unicode Alphabetic
bool isNumber(std::string_view character);       // any Unicode numeric type
bool isDecimalDigit(std::string_view character); // exactly one scalar of category Nd
std::optional<int> decimalDigitValue(std::string_view character);
bool isHan(std::string_view character);
bool isWhitespace(std::string_view character);
bool isPunctuation(std::string_view character); // general category P*
bool isSymbol(std::string_view character);      // general category S*
bool isASCIILetter(std::string_view character);
bool isASCIIDigit(std::string_view character);
// The same for one typed key (keys are ASCII, one byte each).
inline bool isLetterKey(char key) {
    return (key >= 'a' && key <= 'z') || (key >= 'A' && key <= 'Z');
}
inline bool isDigitKey(char key) {
    return key >= '0' && key <= '9';
}
// A key of a number or a version: a digit or the decimal point.
inline bool isNumberKey(char key) {
    return isDigitKey(key) || key == '.';
}

// Unicode full case mapping with root-locale rules; applies to whole strings and single characters.
std::string lowercased(std::string_view text);
std::string uppercased(std::string_view text);
// Appends the lower-cased text to `out`, for callers that build many keys in one buffer.
void appendLowercased(std::string& out, std::string_view text);

// Byte offset of the first ill-formed UTF-8 sequence, or no value when the text is valid UTF-8.
std::optional<std::size_t> firstInvalidUTF8(std::string_view text);

} // namespace kelvo
