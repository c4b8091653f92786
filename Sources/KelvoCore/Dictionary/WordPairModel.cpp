#include "Dictionary/WordPairModel.hpp"

#include "Text/FileContents.hpp"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <sys/mman.h>
#include <unistd.h>

namespace kelvo {
namespace {

constexpr std::string_view magic = "KELVOBG2";
// Counts of words, pairs, hash slots and string bytes, then the figure after a word the model lacks.
constexpr std::size_t headerSize = 8 + 5 * 4;
constexpr std::size_t wordRowSize = 16; // string offset, string length, end of its pairs, backoff
constexpr std::size_t pairRowSize = 8;  // following word, figure

std::uint32_t fnv1a(std::string_view text) {
    std::uint32_t value = 0x811C9DC5u;
    for (unsigned char byte : text)
        value = (value ^ byte) * 0x01000193u;
    return value;
}

// A figure the file gives, or none where it holds no usable number.
double usable(float figure) {
    return std::isfinite(figure) ? figure : 0.0;
}

} // namespace

std::shared_ptr<const WordPairModel> WordPairModel::open(const std::filesystem::path& path) {
    std::error_code error;
    std::size_t size = 0;
    const int descriptor = openRegularFile(path, error, size);
    if (descriptor < 0) throw WordPairModelError("cannot read " + path.string() + ": " + error.message());
    void* mapped = MAP_FAILED;
    std::string failure;
    if (size < headerSize)
        failure = "too short to be a word-pair file";
    else if ((mapped = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, descriptor, 0)) == MAP_FAILED)
        failure = std::strerror(errno);
    ::close(descriptor);
    if (!failure.empty()) throw WordPairModelError("cannot use " + path.string() + ": " + failure);
    std::shared_ptr<WordPairModel> model(new WordPairModel({}, mapped, size)); // frees the mapping
    model->check(path.string());
    return model;
}

std::shared_ptr<const WordPairModel> WordPairModel::fromBytes(std::string bytes) {
    std::shared_ptr<WordPairModel> model(new WordPairModel(std::move(bytes), nullptr, 0));
    model->check("word-pair data");
    return model;
}

WordPairModel::WordPairModel(std::string owned, void* mapped, std::size_t mappedSize)
    : owned_(std::move(owned)), mapped_(mapped), mappedSize_(mappedSize) {
    bytes_ = mapped_ ? std::span<const char>(static_cast<const char*>(mapped_), mappedSize_)
                     : std::span<const char>(owned_.data(), owned_.size());
}

WordPairModel::~WordPairModel() {
    if (mapped_) ::munmap(mapped_, mappedSize_);
}

// The header's counts must give the file's size exactly, and the table must have an empty slot.
void WordPairModel::check(std::string_view where) {
    auto refuse = [&](const std::string& why) {
        throw WordPairModelError(std::string(where) + " is no word-pair file: " + why);
    };
    if (bytes_.size() < headerSize || std::string_view(bytes_.data(), magic.size()) != magic)
        refuse("it does not start with " + std::string(magic));
    words_ = at(8);
    pairs_ = at(12);
    slots_ = at(16);
    stringBytes_ = at(20);
    unknownContext_ = usable(floatAt(24));
    if (slots_ <= words_ || (slots_ & (slots_ - 1)) != 0) refuse("its word table has no room");
    wordRows_ = headerSize;
    pairRows_ = wordRows_ + std::size_t{words_} * wordRowSize;
    slotRows_ = pairRows_ + std::size_t{pairs_} * pairRowSize;
    strings_ = slotRows_ + std::size_t{slots_} * 4;
    if (strings_ + stringBytes_ != bytes_.size()) refuse("its sections do not add up to its size");
}

std::string_view WordPairModel::text(Word word) const {
    const std::size_t row = wordRows_ + std::size_t{word} * wordRowSize;
    const std::uint32_t offset = at(row), length = at(row + 4);
    if (word >= words_ || offset > stringBytes_ || length > stringBytes_ - offset) return {};
    return {bytes_.data() + strings_ + offset, length};
}

std::optional<WordPairModel::Word> WordPairModel::word(std::string_view text) const {
    if (words_ == 0) return std::nullopt;
    const std::uint32_t mask = slots_ - 1;
    for (std::uint32_t slot = fnv1a(text) & mask, probes = 0; probes < slots_;
         slot = (slot + 1) & mask, ++probes) {
        const std::uint32_t entry = at(slotRows_ + std::size_t{slot} * 4);
        if (entry == 0 || entry > words_) return std::nullopt;
        if (this->text(entry - 1) == text) return entry - 1;
    }
    return std::nullopt;
}

double WordPairModel::contextAfterWord(Word previous, std::optional<Word> next) const {
    if (previous >= words_) return 0;
    const std::size_t row = wordRows_ + std::size_t{previous} * wordRowSize;
    const double otherwise = usable(floatAt(row + 12));
    if (!next) return otherwise;
    // The pairs of `previous` run from where the word before it ends theirs, sorted by word.
    std::uint32_t first = previous == 0 ? 0 : at(row - wordRowSize + 8);
    std::uint32_t end = at(row + 8);
    if (first > end || end > pairs_) return otherwise;
    while (first < end) {
        const std::uint32_t middle = first + (end - first) / 2;
        const std::uint32_t following = at(pairRows_ + std::size_t{middle} * pairRowSize);
        if (following == *next) return usable(floatAt(pairRows_ + std::size_t{middle} * pairRowSize + 4));
        if (following < *next)
            first = middle + 1;
        else
            end = middle;
    }
    return otherwise;
}

} // namespace kelvo
