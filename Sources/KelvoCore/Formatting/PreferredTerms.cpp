#include "Formatting/PreferredTerms.hpp"

#include "Formatting/RunPattern.hpp"
#include "Text/Characters.hpp"

#include <algorithm>

namespace kelvo::PreferredTerms {
namespace {

constexpr std::size_t longestTerm = 64;

// Lines end at LF, VT, FF, CR, CR LF, NEL, LS and PS; empty lines are dropped.
std::vector<std::string_view> linesOf(std::string_view text) {
    static constexpr std::string_view breaks[] = {"\r\n", "\n",     "\v",     "\f",
                                                  "\r",   "\u0085", "\u2028", "\u2029"};
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size();) {
        auto lineBreak = std::find_if(std::begin(breaks), std::end(breaks),
                                      [&](std::string_view b) { return text.substr(i).starts_with(b); });
        if (lineBreak == std::end(breaks)) {
            ++i;
            continue;
        }
        if (i > start) lines.push_back(text.substr(start, i - start));
        i += lineBreak->size();
        start = i;
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

// Splits at the first "=" that follows a non-empty piece, dropping empty pieces.
std::vector<std::string_view> sidesOf(std::string_view line) {
    std::vector<std::string_view> pieces;
    std::string_view rest = line;
    while (pieces.empty()) {
        std::size_t at = rest.find('=');
        if (at == std::string_view::npos) break;
        if (at > 0) pieces.push_back(rest.substr(0, at));
        rest.remove_prefix(at + 1);
    }
    if (!rest.empty()) pieces.push_back(rest);
    return pieces;
}

std::string_view trimmed(std::string_view piece) {
    std::size_t first = piece.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return piece.substr(first, piece.find_last_not_of(" \t") - first + 1);
}

bool isTerm(std::string_view piece) {
    auto characters = characterViews(piece);
    return !characters.empty() && characters.size() <= longestTerm &&
           std::all_of(characters.begin(), characters.end(),
                       [](std::string_view c) { return isASCIILetter(c) || isASCIIDigit(c); });
}

} // namespace

const Terms& builtIn() {
    static const Terms terms = {
        {"api", "API"},       {"github", "GitHub"},         {"macos", "macOS"},
        {"ios", "iOS"},       {"postgresql", "PostgreSQL"}, {"aws", "AWS"},
        {"sql", "SQL"},       {"javascript", "JavaScript"}, {"typescript", "TypeScript"},
        {"openai", "OpenAI"},
    };
    return terms;
}

std::string apply(std::string_view text, const Terms& overrides,
                  const std::vector<UTF16Range>& preservingCaseIn) {
    auto spelling = [&](const std::string& token) -> const std::string* {
        if (auto found = overrides.find(token); found != overrides.end()) return &found->second;
        if (auto found = builtIn().find(token); found != builtIn().end()) return &found->second;
        return nullptr;
    };
    icu::UnicodeString edited = toUTF16(text);
    std::vector<UTF16Range> runs = runsOf(edited);
    bool changed = false;
    // From the last match to the first, so earlier offsets stay valid while editing.
    for (auto run = runs.rbegin(); run != runs.rend(); ++run) {
        bool preserved =
            std::any_of(preservingCaseIn.begin(), preservingCaseIn.end(),
                        [&](const UTF16Range& range) { return range.overlaps(run->lower, run->upper); });
        if (preserved) continue;
        auto start = static_cast<int32_t>(run->lower);
        auto length = static_cast<int32_t>(run->upper - run->lower);
        std::string token = toUTF8(icu::UnicodeString(edited, start, length));
        if (token != lowercased(token)) continue;
        if (const std::string* preferred = spelling(token)) {
            edited.replace(start, length, toUTF16(*preferred));
            changed = true;
        }
    }
    return changed ? toUTF8(edited) : std::string(text);
}

Terms parse(std::string_view text) {
    Terms terms;
    for (std::string_view line : linesOf(text)) {
        std::vector<std::string_view> sides = sidesOf(line);
        if (sides.size() != 2) throw ParseError(std::string(line));
        std::string_view term = trimmed(sides[0]);
        std::string_view spelling = trimmed(sides[1]);
        if (!isTerm(term) || !isTerm(spelling) || lowercased(term) != lowercased(spelling))
            throw ParseError(std::string(line));
        terms[lowercased(term)] = std::string(spelling);
    }
    return terms;
}

} // namespace kelvo::PreferredTerms
