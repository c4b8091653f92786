#include "Detectors/EnglishVocabulary.hpp"

#include "Text/FileContents.hpp"

#include <algorithm>
#include <charconv>

namespace kelvo {

EnglishVocabulary::EnglishVocabulary(std::string text) : text_(std::move(text)) {
    std::string_view rest = text_;
    while (!rest.empty()) {
        std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        std::size_t space = line.find(' ');
        if (line.empty() || line.front() == '#' || space == 0 || space == std::string_view::npos) continue;
        float score = 0;
        std::string_view number = line.substr(space + 1);
        auto [stop, error] = std::from_chars(number.data(), number.data() + number.size(), score);
        if (error != std::errc() || stop != number.data() + number.size()) continue;
        words_.push_back({line.substr(0, space), score});
    }
    // The file is sorted; a text that is not stays searchable all the same.
    auto byWord = [](const Entry& a, const Entry& b) { return a.word < b.word; };
    if (!std::is_sorted(words_.begin(), words_.end(), byWord))
        std::stable_sort(words_.begin(), words_.end(), byWord);
}

std::shared_ptr<const EnglishVocabulary> EnglishVocabulary::contentsOf(const std::filesystem::path& path) {
    std::error_code error;
    std::string text = readFileContents(path, error);
    if (error)
        throw VocabularyError("cannot read the English vocabulary " + path.string() + ": " + error.message());
    return std::make_shared<const EnglishVocabulary>(std::move(text));
}

std::vector<EnglishVocabulary::Entry>::const_iterator
EnglishVocabulary::lowerBound(std::string_view word) const {
    return std::lower_bound(words_.begin(), words_.end(), word,
                            [](const Entry& entry, std::string_view w) { return entry.word < w; });
}

std::optional<double> EnglishVocabulary::score(std::string_view word) const {
    auto found = lowerBound(word);
    if (found == words_.end() || found->word != word) return std::nullopt;
    return found->score;
}

bool EnglishVocabulary::hasWordStartingWith(std::string_view prefix) const {
    auto found = lowerBound(prefix);
    return found != words_.end() && found->word.starts_with(prefix);
}

} // namespace kelvo
