#pragma once

#include "Dictionary/ReadingTable.hpp"
#include "Dictionary/Unigram.hpp"

#include <filesystem>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

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
    std::span<const Unigram> unigrams(std::string_view reading) const;
    // The number of accepted entry lines.
    std::size_t entryCount() const { return unigrams_.size(); }
    // The most syllables of any reading, at least 1.
    int maxSpan() const { return maxSpan_; }

private:
    // Where the words of one reading stand in `unigrams_`.
    struct Group {
        std::uint32_t first = 0;
        std::uint32_t count = 0;
    };

    void parse();

    // Readings are views into the text, which the lexicon keeps so that no reading is copied. The
    // words of all readings share one array, grouped by reading: `groups_` is indexed by the number
    // that `readings_` gives a reading.
    std::unique_ptr<const std::string> text_;
    ReadingTable readings_;
    std::vector<Group> groups_;
    std::vector<Unigram> unigrams_;
    int maxSpan_ = 1;
};

} // namespace kelvo
