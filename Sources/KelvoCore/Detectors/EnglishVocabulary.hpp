#pragma once

#include <array>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kelvo {

class VocabularyError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// English words with the log10 of their estimated frequency, as the bundled vocabulary lists them
// ("word score" per line, sorted by word; "#" starts a comment line). Words are lower-case; a
// lookup lower-cases nothing. Immutable once loaded, shared by every engine of a process.
class EnglishVocabulary {
public:
    EnglishVocabulary() = default;
    // Reads the text; lines that are not "word score" are skipped.
    explicit EnglishVocabulary(std::string text);
    // Words of the user's own (names of installed programs), each with the same score.
    static std::shared_ptr<const EnglishVocabulary> ofWords(const std::vector<std::string>& words,
                                                            double score);
    // Reads the file; throws VocabularyError when it cannot be read.
    static std::shared_ptr<const EnglishVocabulary> contentsOf(const std::filesystem::path& path);

    // The word's score, absent for a word the vocabulary does not list.
    std::optional<double> score(std::string_view word) const;
    bool contains(std::string_view word) const { return score(word).has_value(); }
    // How English a spelling looks, whether listed or not: the log10 probability of its letters under
    // a letter trigram model of the listed words. Letters only (lower-case a to z); anything else
    // makes it absent.
    std::optional<double> spellingScore(std::string_view word) const;
    std::size_t size() const { return words_.size(); }
    // Bytes held: the text and the index over it.
    std::size_t memoryUsage() const { return text_.capacity() + words_.capacity() * sizeof(Entry); }

private:
    struct Entry {
        std::string_view word; // into text_
        float score;
    };

    std::vector<Entry>::const_iterator lowerBound(std::string_view word) const;
    void countLetters();

    // Letters 0-25, 26 the edge of a word; a trigram's count and the count of its two-letter context.
    static constexpr int symbols = 27;
    std::array<float, symbols * symbols * symbols> trigramLog10_{};

    std::string text_;
    std::vector<Entry> words_; // sorted by word
};

} // namespace kelvo
