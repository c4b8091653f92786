#pragma once

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kelvo {

// Raised when the word-pair file cannot be read or is not one.
class WordPairModelError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// How likely a word is after the word before it, beyond its own probability: a word-bigram model
// estimated from running text, in a binary file that is mapped read-only and read in place, so
// that nothing is parsed at start-up. The file is checked when opened (its sections must add up to
// its size) and every read stays within it, whatever the file holds.
class WordPairModel {
public:
    using Word = std::uint32_t;
    // The words that stand for any number and any English word between words of the text.
    static constexpr std::string_view numberWord = "0";
    static constexpr std::string_view englishWord = "A";

    // Maps the file; throws WordPairModelError when it is missing, short or not a word-pair file.
    static std::shared_ptr<const WordPairModel> open(const std::filesystem::path& path);
    // The same over bytes in memory (tests).
    static std::shared_ptr<const WordPairModel> fromBytes(std::string bytes);

    ~WordPairModel();
    WordPairModel(const WordPairModel&) = delete;
    WordPairModel& operator=(const WordPairModel&) = delete;

    // The model's number for a word, if it knows the word.
    std::optional<Word> word(std::string_view text) const;
    // log10 of how much `previous` makes `next` likelier than it is alone: the pair's own figure,
    // else what any other word after `previous` gets (a word the model lacks too). After a word the
    // model lacks (none), the file's figure for a pair never seen.
    double contextAfter(std::optional<Word> previous, std::optional<Word> next) const {
        return previous ? contextAfterWord(*previous, next) : unknownContext_;
    }
    std::size_t wordCount() const { return words_; }
    std::size_t pairCount() const { return pairs_; }

private:
    WordPairModel(std::string owned, void* mapped, std::size_t mappedSize);
    void check(std::string_view where);
    double contextAfterWord(Word previous, std::optional<Word> next) const;

    // Read in line: the decoder asks for thousands of figures per key.
    std::uint32_t at(std::size_t offset) const {
        std::uint32_t value = 0;
        if (offset + 4 <= bytes_.size()) std::memcpy(&value, bytes_.data() + offset, 4);
        return value; // the file is little-endian, as every machine Kelvo runs on
    }
    float floatAt(std::size_t offset) const {
        const std::uint32_t bits = at(offset);
        float value = 0;
        std::memcpy(&value, &bits, 4);
        return value;
    }
    std::string_view text(Word word) const;

    std::string owned_;      // the bytes, when not mapped
    void* mapped_ = nullptr; // the mapping, when mapped
    std::size_t mappedSize_ = 0;
    std::span<const char> bytes_;
    std::uint32_t words_ = 0, pairs_ = 0, slots_ = 0, stringBytes_ = 0;
    double unknownContext_ = 0;
    std::size_t wordRows_ = 0, pairRows_ = 0, slotRows_ = 0, strings_ = 0; // section offsets
};

} // namespace kelvo
