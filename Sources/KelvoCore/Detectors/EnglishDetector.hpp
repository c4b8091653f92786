#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kelvo {

// Raised when the word list cannot be read or is not UTF-8.
class EnglishDetectorError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Knows English words: whether a string is one, whether it begins one, and whether a run of letters
// splits into common words typed without spaces. Built once per process, read-only afterwards.
class EnglishDetector {
public:
    // The words that count as common, lower-case; a segmentation consists of these only.
    static const std::vector<std::string_view>& commonWords();
    static bool isCommonWord(std::string_view lowerCaseWord);

    // The given words (lower-cased) and the common words.
    explicit EnglishDetector(const std::vector<std::string>& words = {});
    // The lines of a word file (one word per line; empty lines are dropped, lines are not trimmed)
    // and the common words. Throws EnglishDetectorError when the file cannot be read or is not UTF-8.
    static std::shared_ptr<const EnglishDetector> contentsOf(const std::filesystem::path& path);

    EnglishDetector(const EnglishDetector&) = delete;
    EnglishDetector& operator=(const EnglishDetector&) = delete;

    bool isWord(std::string_view text) const;
    // Two or more common words making up `text` exactly, in the case typed, or `text` itself when it
    // is a word; no value otherwise.
    std::optional<std::vector<std::string>> segmentedWords(std::string_view text) const;

    // All known words, lower-case, sorted by bytes, without duplicates.
    const std::vector<std::string_view>& words() const { return words_; }

private:
    void build(const std::vector<std::string_view>& source);

    std::string storage_; // every word, lower-cased, one after another
    std::vector<std::string_view> words_;
};

} // namespace kelvo
