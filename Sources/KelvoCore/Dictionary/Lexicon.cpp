#include "Dictionary/Lexicon.hpp"

#include "Text/Characters.hpp"
#include "Text/FileContents.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>

namespace kelvo {
namespace {

// Splits at runs of U+0020 only; up to four fields are collected so a fourth reveals a bad line.
std::size_t splitFields(std::string_view line, std::array<std::string_view, 4>& fields) {
    std::size_t count = 0;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && line[i] == ' ')
            ++i;
        if (i == line.size()) break;
        std::size_t end = line.find(' ', i);
        if (end == std::string_view::npos) end = line.size();
        if (count == fields.size()) return count + 1;
        fields[count++] = line.substr(i, end - i);
        i = end;
    }
    return count;
}

// A decimal floating-point number with optional sign and exponent, taking the whole field.
std::optional<double> parseScore(std::string_view field) {
    std::string_view digits = field;
    bool negative = false;
    if (!digits.empty() && (digits[0] == '+' || digits[0] == '-')) {
        negative = digits[0] == '-';
        digits.remove_prefix(1);
    }
    // from_chars also reads "inf" and "nan", which are no decimal numbers.
    if (digits.empty() || !(isDigitKey(digits[0]) || digits[0] == '.')) return std::nullopt;
    double value = 0;
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    return negative ? -value : value;
}

} // namespace

Lexicon::Lexicon(std::string dataText) : text_(std::make_unique<const std::string>(std::move(dataText))) {
    parse();
}

std::shared_ptr<const Lexicon> Lexicon::contentsOf(const std::filesystem::path& path) {
    std::error_code error;
    std::string text = readFileContents(path, error);
    if (error) throw LexiconError("cannot read " + path.string() + ": " + error.message());
    if (auto offset = firstInvalidUTF8(text))
        throw LexiconError(path.string() + " is not valid UTF-8 (byte " + std::to_string(*offset) + ")");
    return std::make_shared<const Lexicon>(std::move(text));
}

void Lexicon::parse() {
    // Entries are collected in file order with the number of their reading, then laid out grouped by
    // reading. The bundled file lists each reading's lines together, which saves most lookups.
    std::vector<std::pair<std::uint32_t, Unigram>> parsed;
    std::string_view text = *text_;
    parsed.reserve(text.size() / 32);
    readings_ = ReadingTable(text.size() / 48);
    std::string_view previousReading;
    std::uint32_t previousNumber = 0;
    std::array<std::string_view, 4> fields;
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        // A CR before the LF belongs to the line end, so files saved with CR LF load the same.
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line.front() == '#') continue;
        if (splitFields(line, fields) != 3) continue;
        auto score = parseScore(fields[2]);
        if (!score) continue;

        std::string_view reading = fields[0];
        if (parsed.empty() || reading != previousReading) {
            previousNumber = readings_.insert(reading);
            previousReading = reading;
            if (previousNumber == groups_.size()) groups_.emplace_back();
            int span = static_cast<int>(std::count(reading.begin(), reading.end(), '-')) + 1;
            maxSpan_ = std::max(maxSpan_, span);
        }
        ++groups_[previousNumber].count;
        parsed.emplace_back(previousNumber, Unigram{std::string(fields[1]), *score});
    }

    std::uint32_t offset = 0;
    for (Group& group : groups_) {
        group.first = offset;
        offset += group.count;
    }
    std::vector<std::uint32_t> next(groups_.size());
    std::transform(groups_.begin(), groups_.end(), next.begin(),
                   [](const Group& group) { return group.first; });
    unigrams_.resize(parsed.size());
    for (auto& [number, unigram] : parsed)
        unigrams_[next[number]++] = std::move(unigram);

    for (const Group& group : groups_) {
        if (group.count < 2) continue;
        auto begin = unigrams_.begin() + group.first;
        std::stable_sort(begin, begin + group.count,
                         [](const Unigram& a, const Unigram& b) { return a.score > b.score; });
    }
}

std::span<const Unigram> Lexicon::unigrams(std::string_view reading) const {
    std::uint32_t number = readings_.find(reading);
    if (number == ReadingTable::absent) return {};
    return std::span<const Unigram>(unigrams_).subspan(groups_[number].first, groups_[number].count);
}

} // namespace kelvo
