#include "Formatting/TextFormatting.hpp"

#include "Formatting/Punctuation.hpp"
#include "Text/Characters.hpp"

namespace kelvo {
namespace {

// Characters of whitespace-delimited tokens that hold "@" or "://": e-mail addresses and URLs.
std::vector<bool> addressCharacters(const std::vector<std::string_view>& characters) {
    std::vector<bool> marked(characters.size(), false);
    std::size_t start = 0;
    auto closeToken = [&](std::size_t end) {
        std::string token;
        for (std::size_t i = start; i < end; ++i)
            token += characters[i];
        if (token.find('@') != std::string::npos || token.find("://") != std::string::npos)
            for (std::size_t i = start; i < end; ++i)
                marked[i] = true;
    };
    for (std::size_t i = 0; i < characters.size(); ++i) {
        if (!isWhitespace(characters[i])) continue;
        closeToken(i);
        start = i + 1;
    }
    closeToken(characters.size());
    return marked;
}

} // namespace

std::string TextFormatting::apply(std::string_view text,
                                  const std::vector<UTF16Range>& preservingCaseIn) const {
    std::string result = preferredCapitalization
                             ? PreferredTerms::apply(text, preferredTerms, preservingCaseIn)
                             : std::string(text);
    result = Punctuation::format(result, punctuationMode, preservingCaseIn);
    if (!chineseEnglishSpace && !chineseNumberSpace && !englishNumberSpace) return result;
    return spaced(result);
}

std::string TextFormatting::spaced(std::string_view text) const {
    std::vector<std::string_view> characters = characterViews(text);
    if (characters.empty()) return {};
    std::vector<bool> inAddress = addressCharacters(characters);
    std::string result;
    result.reserve(text.size() + 16);
    result += characters[0];
    for (std::size_t i = 1; i < characters.size(); ++i) {
        std::string_view p = characters[i - 1];
        std::string_view c = characters[i];
        bool hanP = isHan(p), hanC = isHan(c);
        bool letterP = isASCIILetter(p), letterC = isASCIILetter(c);
        bool digitP = isASCIIDigit(p), digitC = isASCIIDigit(c);
        bool space = (chineseEnglishSpace && ((hanP && letterC) || (letterP && hanC))) ||
                     (chineseNumberSpace && ((hanP && digitC) || (digitP && hanC))) ||
                     (englishNumberSpace && ((letterP && digitC) || (digitP && letterC)) && !inAddress[i]);
        if (space) result += ' ';
        result += c;
    }
    return result;
}

std::string TextFormatting::preferredVariant(std::string_view text) const {
    if (!preferredCapitalization) return std::string(text);
    return PreferredTerms::apply(text, preferredTerms, {});
}

} // namespace kelvo
