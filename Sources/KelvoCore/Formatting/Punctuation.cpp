#include "Formatting/Punctuation.hpp"

#include "Formatting/RunPattern.hpp"
#include "Text/Characters.hpp"

#include <algorithm>
#include <array>

namespace kelvo::Punctuation {
namespace {

constexpr std::array<WidthPair, 13> pairs = {{
    {"，", ","},
    {"。", "."},
    {"？", "?"},
    {"！", "!"},
    {"：", ":"},
    {"、", "'"},
    {"；", ";"},
    {"「", "["},
    {"」", "]"},
    {"『", "{"},
    {"』", "}"},
    {"（", "("},
    {"）", ")"},
}};

const std::map<std::string, std::string, std::less<>>& chineseModeConversions() {
    static const std::map<std::string, std::string, std::less<>> table = {
        {",", "，"}, {".", "。"}, {"?", "？"}, {"!", "！"}, {":", "："}, {";", "；"},
        {"(", "（"}, {")", "）"}, {"[", "「"}, {"]", "」"}, {"<", "，"}, {">", "。"},
    };
    return table;
}

bool isProtectedRun(std::string_view run) {
    return run.find_first_of("@./_") != std::string_view::npos;
}

} // namespace

const std::map<std::string, std::string, std::less<>>& map() {
    static const std::map<std::string, std::string, std::less<>> table = {
        {"<", "，"}, {">", "。"}, {"?", "？"}, {"!", "！"}, {":", "："}, {"'", "、"}, {"\"", "；"},
        {"[", "「"}, {"]", "」"}, {"{", "『"}, {"}", "』"}, {"(", "（"}, {")", "）"},
    };
    return table;
}

std::span<const WidthPair> widthPairs() {
    return pairs;
}

std::optional<std::string> fullWidth(std::string_view character) {
    auto found = map().find(character);
    if (found == map().end()) return std::nullopt;
    return found->second;
}

std::vector<std::string> variants(std::string_view mark) {
    auto pair = std::find_if(pairs.begin(), pairs.end(),
                             [&](const WidthPair& p) { return p.fullWidth == mark || p.halfWidth == mark; });
    if (pair == pairs.end()) return {};
    std::vector<std::string> result = {
        std::string(mark), std::string(pair->fullWidth == mark ? pair->halfWidth : pair->fullWidth)};
    if (pair->fullWidth == "，") result.emplace_back("<");
    if (pair->fullWidth == "。") result.emplace_back(">");
    if (pair->fullWidth == "；") result.emplace_back("\"");
    return result;
}

std::string format(std::string_view text, PunctuationMode mode,
                   const std::vector<UTF16Range>& preservingUTF16) {
    if (mode != PunctuationMode::chinese) return std::string(text);
    icu::UnicodeString unicode = toUTF16(text);
    std::vector<UTF16Range> protectedRuns;
    for (const UTF16Range& run : runsOf(unicode)) {
        icu::UnicodeString runText(unicode, static_cast<int32_t>(run.lower),
                                   static_cast<int32_t>(run.upper - run.lower));
        if (isProtectedRun(toUTF8(runText))) protectedRuns.push_back(run);
    }
    auto inAny = [](const std::vector<UTF16Range>& ranges, std::size_t offset) {
        return std::any_of(ranges.begin(), ranges.end(),
                           [&](const UTF16Range& r) { return r.contains(offset); });
    };

    std::string result;
    result.reserve(text.size() + 16);
    std::size_t offset = 0;
    for (std::string_view character : characterViews(text)) {
        auto conversion = chineseModeConversions().find(character);
        if (conversion != chineseModeConversions().end() && !inAny(protectedRuns, offset) &&
            !inAny(preservingUTF16, offset))
            result += conversion->second;
        else
            result += character;
        offset += utf16Length(character);
    }
    return result;
}

} // namespace kelvo::Punctuation
