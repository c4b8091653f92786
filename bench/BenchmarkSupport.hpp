#pragma once

// What the benchmarks work on: a sentence of real Chinese with its readings and Dachen keys, the
// bundled dictionary, and a learned-data store as busy as it gets.
#include "Dictionary/SentenceDecoder.hpp"
#include "PersonalData/UserPhraseStore.hpp"
#include "Zhuyin/DachenLayout.hpp"

#include <filesystem>
#include <fstream>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <unistd.h>
#include <vector>

namespace kelvo::bench {

// 我們今天下午要去圖書館借書然後到公園散步晚上再一起吃飯討論下個星期的旅行計畫大家
inline const std::vector<std::string> sentenceReadings = {
    "ㄨㄛˇ",   "ㄇㄣ˙",   "ㄐㄧㄣ", "ㄊㄧㄢ", "ㄒㄧㄚˋ", "ㄨˇ",     "ㄧㄠˋ",  "ㄑㄩˋ",   "ㄊㄨˊ",   "ㄕㄨ",
    "ㄍㄨㄢˇ", "ㄐㄧㄝˋ", "ㄕㄨ",   "ㄖㄢˊ",  "ㄏㄡˋ",   "ㄉㄠˋ",   "ㄍㄨㄥ", "ㄩㄢˊ",   "ㄙㄢˋ",   "ㄅㄨˋ",
    "ㄨㄢˇ",   "ㄕㄤˋ",   "ㄗㄞˋ",  "ㄧˋ",    "ㄑㄧˇ",   "ㄔ",      "ㄈㄢˋ",  "ㄊㄠˇ",   "ㄌㄨㄣˋ", "ㄒㄧㄚˋ",
    "ㄍㄜ˙",   "ㄒㄧㄥ",  "ㄑㄧˊ",  "ㄉㄜ˙",  "ㄌㄩˇ",   "ㄒㄧㄥˊ", "ㄐㄧˋ",  "ㄏㄨㄚˋ", "ㄉㄚˋ",   "ㄐㄧㄚ"};

// The Dachen keys of one reading.
inline std::string keysOf(const std::string& reading) {
    return DachenLayout::keys(reading).value_or("");
}

inline std::shared_ptr<const kelvo::Lexicon> bundledLexicon() {
    static const auto lexicon = kelvo::Lexicon::contentsOf(KELVO_RESOURCES_DIR "/data/data.txt");
    return lexicon;
}

inline std::shared_ptr<const kelvo::WordPairModel> bundledWordPairs() {
    static const auto model = kelvo::WordPairModel::open(KELVO_RESOURCES_DIR "/data/bigrams.bin");
    return model;
}

inline std::vector<kelvo::Element> composition(std::size_t syllables) {
    std::vector<kelvo::Element> elements;
    for (std::size_t i = 0; i < syllables; ++i)
        elements.push_back(kelvo::Element::reading(sentenceReadings[i]));
    return elements;
}

inline std::filesystem::path temporaryPath(const std::string& name) {
    return std::filesystem::temp_directory_path() / ("kelvo-bench-" + std::to_string(::getpid())) / name;
}

// A learned-data file with `pairCount` word pairs among the words the sentence can decode to, and
// some choices and learned words, loaded into a store; with `full`, entries of other words fill
// every table to its limit, as years of use would.
inline std::shared_ptr<kelvo::UserPhraseStore> busyStore(const std::filesystem::path& path,
                                                         std::size_t pairCount = 20000, bool full = false) {
    kelvo::SentenceDecoder plain(bundledLexicon());
    auto elements = composition(sentenceReadings.size());
    std::vector<std::string> words;
    nlohmann::json json = {{"selections", nlohmann::json::object()},
                           {"pendingWords", nlohmann::json::object()},
                           {"words", nlohmann::json::object()},
                           {"transitions", nlohmann::json::object()}};
    for (int start = 0; start < static_cast<int>(elements.size()); ++start) {
        for (const auto& candidate : plain.candidateSegments(elements, start)) {
            words.push_back(candidate.value);
            if (words.size() % 5 == 0) json["selections"][*candidate.reading][candidate.value] = 2;
            if (words.size() % 50 == 0) json["words"][*candidate.reading][candidate.value + "詞"] = 2;
        }
    }
    std::size_t pairs = 0;
    for (std::size_t step = 1; pairs < pairCount; ++step)
        for (std::size_t i = 0; i < words.size() && pairs < pairCount; ++i) {
            auto& count = json["transitions"][words[i]][words[(i * 7 + step) % words.size()]];
            if (count.is_null()) ++pairs;
            count = 1 + static_cast<int>(i % 3);
        }
    for (std::size_t i = 0; full && json["selections"].size() < LearnedData::selectionLimit; ++i)
        json["selections"]["ㄅㄚ" + std::to_string(i)]["八"] = 1 + i % 3;
    for (std::size_t i = 0; full && json["words"].size() < LearnedData::wordLimit; ++i)
        json["words"]["ㄅㄚ-ㄅㄚ" + std::to_string(i)]["八八"] = 2 + i % 3;
    for (std::size_t i = 0; full && pairs < LearnedData::transitionLimit; ++i, ++pairs)
        json["transitions"]["詞" + std::to_string(i / 4)]["字" + std::to_string(i % 4)] = 1 + i % 3;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path) << json.dump();
    auto store = std::make_shared<kelvo::UserPhraseStore>(path);
    store->flush();
    return store;
}

} // namespace kelvo::bench
