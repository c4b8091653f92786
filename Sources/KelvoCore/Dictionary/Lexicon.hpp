#pragma once

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "Dictionary/Unigram.hpp"

namespace kelvo {

// Raised when the dictionary file cannot be read or is not UTF-8.
class LexiconError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The read-only dictionary: reading key (canonical syllables joined with "-") to its words, best
// first. The text is parsed once; malformed lines are skipped, never reported.
class Lexicon {
public:
    explicit Lexicon(std::string dataText);
    // Reads the file as UTF-8; throws LexiconError when it cannot be read or is not valid UTF-8.
    static std::shared_ptr<const Lexicon> contentsOf(const std::filesystem::path& path);

    Lexicon(const Lexicon&) = delete;
    Lexicon& operator=(const Lexicon&) = delete;

    // The words of a reading, highest score first (file order among equal scores); empty when none.
    const std::vector<Unigram>& unigrams(std::string_view reading) const;
    std::size_t entryCount() const;
    // The most syllables of any reading, at least 1.
    int maxSpan() const { return maxSpan_; }

private:
    struct ViewHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
    };

    void parse();
    void addLine(std::string_view line);

    // Keys are views into the text, which the lexicon keeps so that no reading is copied.
    std::unique_ptr<const std::string> text_;
    std::unordered_map<std::string_view, std::vector<Unigram>, ViewHash, std::equal_to<>> map_;
    int maxSpan_ = 1;
};

} // namespace kelvo
