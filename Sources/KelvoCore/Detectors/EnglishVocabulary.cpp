#include "Detectors/EnglishVocabulary.hpp"

#include "Text/FileContents.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>

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
    countLetters();
}

namespace {

constexpr int edge = 26;

int symbolOf(char c) {
    return c >= 'a' && c <= 'z' ? c - 'a' : -1;
}

int trigram(int a, int b, int c) {
    return (a * 27 + b) * 27 + c;
}

} // namespace

// Each listed word counts once, whatever its frequency: the model is of how words are spelled.
void EnglishVocabulary::countLetters() {
    std::vector<std::uint32_t> counts(trigramLog10_.size(), 0);
    std::vector<std::uint32_t> contexts(symbols * symbols, 0);
    for (const Entry& entry : words_) {
        if (!std::all_of(entry.word.begin(), entry.word.end(), [](char c) { return symbolOf(c) >= 0; }))
            continue;
        int a = edge, b = edge;
        for (std::size_t i = 0; i <= entry.word.size(); ++i) {
            int c = i < entry.word.size() ? symbolOf(entry.word[i]) : edge;
            ++counts[trigram(a, b, c)];
            ++contexts[a * symbols + b];
            a = b;
            b = c;
        }
    }
    constexpr double smoothing = 0.1; // added to every count, so unseen letter sequences stay possible
    for (int context = 0; context < symbols * symbols; ++context)
        for (int c = 0; c < symbols; ++c) {
            double p =
                (counts[context * symbols + c] + smoothing) / (contexts[context] + smoothing * symbols);
            trigramLog10_[context * symbols + c] = static_cast<float>(std::log10(p));
        }
}

std::optional<double> EnglishVocabulary::spellingScore(std::string_view word) const {
    if (word.empty()) return std::nullopt;
    double score = 0;
    int a = edge, b = edge;
    for (std::size_t i = 0; i <= word.size(); ++i) {
        int c = i < word.size() ? symbolOf(word[i]) : edge;
        if (c < 0) return std::nullopt;
        score += trigramLog10_[trigram(a, b, c)];
        a = b;
        b = c;
    }
    return score;
}

std::shared_ptr<const EnglishVocabulary> EnglishVocabulary::ofWords(const std::vector<std::string>& words,
                                                                    double score) {
    const std::string scoreText = std::to_string(score);
    std::string text;
    for (const std::string& word : words) {
        text += word;
        text += ' ';
        text += scoreText;
        text += '\n';
    }
    return std::make_shared<const EnglishVocabulary>(std::move(text));
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

} // namespace kelvo
