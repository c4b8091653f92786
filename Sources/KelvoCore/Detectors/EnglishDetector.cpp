#include "Detectors/EnglishDetector.hpp"

#include "Text/Characters.hpp"
#include "Text/FileContents.hpp"

#include <algorithm>

namespace kelvo {
namespace {

constexpr std::size_t longestSegmentedRun = 64;
constexpr std::size_t longestSegmentWord = 24;
constexpr int commonWordCost = 3;
constexpr int otherWordCost = 13;

std::vector<std::string_view> linesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        if (end != 0) lines.push_back(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    return lines;
}

} // namespace

const std::vector<std::string_view>& EnglishDetector::commonWords() {
    static const std::vector<std::string_view> words = [] {
        std::vector<std::string_view> list = {
            "so",    "what",   "hello",  "world", "this",   "is",     "a",     "i",      "test",
            "how",   "are",    "you",    "thank", "thanks", "please", "check", "the",    "my",
            "your",  "email",  "send",   "open",  "use",    "for",    "to",    "and",    "or",
            "not",   "in",     "on",     "at",    "with",   "can",    "do",    "it",     "api",
            "gmail", "github", "review", "code",  "macos",  "sql",    "aws",   "vercel", "swift"};
        std::sort(list.begin(), list.end());
        return list;
    }();
    return words;
}

bool EnglishDetector::isCommonWord(std::string_view lowerCaseWord) {
    return std::binary_search(commonWords().begin(), commonWords().end(), lowerCaseWord);
}

EnglishDetector::EnglishDetector(const std::vector<std::string>& words) {
    build(std::vector<std::string_view>(words.begin(), words.end()));
}

std::shared_ptr<const EnglishDetector> EnglishDetector::contentsOf(const std::filesystem::path& path) {
    std::error_code error;
    std::string text = readFileContents(path, error);
    if (error) throw EnglishDetectorError("cannot read " + path.string() + ": " + error.message());
    if (auto offset = firstInvalidUTF8(text))
        throw EnglishDetectorError(path.string() + " is not valid UTF-8 (byte " + std::to_string(*offset) +
                                   ")");
    auto detector = std::make_shared<EnglishDetector>();
    detector->build(linesOf(text));
    return detector;
}

void EnglishDetector::build(const std::vector<std::string_view>& source) {
    // Lower-case everything into one buffer first, then take views: the buffer no longer moves.
    std::vector<std::pair<std::size_t, std::size_t>> spans;
    spans.reserve(source.size() + commonWords().size());
    storage_.clear();
    std::size_t total = 0;
    for (std::string_view word : source)
        total += word.size();
    storage_.reserve(total + total / 8 + 512);
    auto add = [&](std::string_view word) {
        std::size_t begin = storage_.size();
        appendLowercased(storage_, word);
        spans.emplace_back(begin, storage_.size() - begin);
    };
    std::for_each(source.begin(), source.end(), add);
    std::for_each(commonWords().begin(), commonWords().end(), add);

    std::string_view all = storage_;
    words_.clear();
    words_.reserve(spans.size());
    for (auto [begin, length] : spans)
        words_.push_back(all.substr(begin, length));
    std::sort(words_.begin(), words_.end());
    words_.erase(std::unique(words_.begin(), words_.end()), words_.end());
}

bool EnglishDetector::isWord(std::string_view text) const {
    return std::binary_search(words_.begin(), words_.end(), std::string_view(lowercased(text)));
}

std::optional<std::vector<std::string>> EnglishDetector::segmentedWords(std::string_view text) const {
    std::string lower = lowercased(text);
    auto lowerCharacters = characterViews(lower);
    if (lowerCharacters.empty() ||
        !std::all_of(lowerCharacters.begin(), lowerCharacters.end(), isASCIILetter))
        return std::nullopt;
    if (isWord(lower)) return std::vector<std::string>{std::string(text)};

    std::vector<std::string> typed = characters(text);
    const std::size_t n = typed.size();
    if (n > longestSegmentedRun) return std::nullopt;

    struct Split {
        std::vector<std::string> words;
        int cost = 0;
    };
    std::vector<std::optional<Split>> best(n + 1);
    best[0] = Split{};
    for (std::size_t end = 1; end <= n; ++end) {
        for (std::size_t start = end > longestSegmentWord ? end - longestSegmentWord : 0; start < end;
             ++start) {
            if (!best[start]) continue;
            std::string word;
            for (std::size_t i = start; i < end; ++i)
                word += typed[i];
            if (!isWord(word)) continue;
            std::string lowerWord = lowercased(word);
            if (end - start == 1 && lowerWord != "a" && lowerWord != "i") continue;
            int cost = best[start]->cost + (isCommonWord(lowerWord) ? commonWordCost : otherWordCost);
            if (!best[end] || cost < best[end]->cost) {
                Split split = *best[start];
                split.words.push_back(std::move(word));
                split.cost = cost;
                best[end] = std::move(split);
            }
        }
    }
    if (!best[n] || best[n]->words.size() < 2) return std::nullopt;
    for (const std::string& word : best[n]->words)
        if (!isCommonWord(lowercased(word))) return std::nullopt;
    return best[n]->words;
}

} // namespace kelvo
