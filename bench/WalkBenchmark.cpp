// The decoder walks the whole composition after every key; learned data is saved on every commit.
#include "BenchmarkText.hpp"
#include "Dictionary/SentenceDecoder.hpp"
#include "PersonalData/UserPhraseStore.hpp"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <unistd.h>

namespace {

const std::vector<std::string>& sentence = kelvo::bench::sentenceReadings;

std::shared_ptr<const kelvo::Lexicon> bundledLexicon() {
    static const auto lexicon = kelvo::Lexicon::contentsOf(KELVO_RESOURCES_DIR "/data/data.txt");
    return lexicon;
}

std::vector<kelvo::Element> composition(std::size_t syllables) {
    std::vector<kelvo::Element> elements;
    for (std::size_t i = 0; i < syllables; ++i)
        elements.push_back(kelvo::Element::reading(sentence[i]));
    return elements;
}

std::filesystem::path temporaryPath(const std::string& name) {
    return std::filesystem::temp_directory_path() / ("kelvo-bench-" + std::to_string(::getpid())) / name;
}

// A learned-data file with 20000 word pairs among the words the sentence can decode to, and some
// choices and learned words, loaded into a store.
std::shared_ptr<kelvo::UserPhraseStore> busyStore(const std::filesystem::path& path) {
    kelvo::SentenceDecoder plain(bundledLexicon());
    auto elements = composition(sentence.size());
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
    for (std::size_t step = 1; pairs < kelvo::UserPhraseStore::transitionLimit; ++step)
        for (std::size_t i = 0; i < words.size() && pairs < kelvo::UserPhraseStore::transitionLimit; ++i) {
            auto& count = json["transitions"][words[i]][words[(i * 7 + step) % words.size()]];
            if (count.is_null()) ++pairs;
            count = 1 + static_cast<int>(i % 3);
        }
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path) << json.dump();
    return std::make_shared<kelvo::UserPhraseStore>(path);
}

// The hooks as the engine installs them over a learned-data store.
void attach(kelvo::SentenceDecoder& decoder, const std::shared_ptr<kelvo::UserPhraseStore>& store) {
    decoder.scoreBonus = [store](std::string_view reading, std::string_view value) {
        return store->bonus(reading, value);
    };
    decoder.extraUnigrams = [store](std::string_view reading) { return store->userWords(reading); };
    decoder.transitionBonus = [store](std::string_view previous) -> kelvo::SentenceDecoder::TransitionScorer {
        auto row = store->transitionsFrom(previous);
        if (!row) return {};
        return [row](std::string_view value) { return row.bonus(value); };
    };
}

void BM_Walk(benchmark::State& state) {
    kelvo::SentenceDecoder decoder(bundledLexicon());
    auto elements = composition(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(decoder.walk(elements, {}));
}
BENCHMARK(BM_Walk)->Arg(10)->Arg(20)->Arg(40)->Unit(benchmark::kMicrosecond);

void BM_WalkWithStore(benchmark::State& state) {
    auto path = temporaryPath("walk.json");
    auto store = busyStore(path);
    kelvo::SentenceDecoder decoder(bundledLexicon());
    attach(decoder, store);
    auto elements = composition(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(decoder.walk(elements, {}));
    state.counters["transitions"] = static_cast<double>(store->transitionCount());
    std::filesystem::remove_all(path.parent_path());
}
BENCHMARK(BM_WalkWithStore)->Arg(10)->Arg(20)->Arg(40)->Unit(benchmark::kMicrosecond);

void BM_StoreSave(benchmark::State& state) {
    auto path = temporaryPath("save.json");
    auto store = busyStore(path);
    for (auto _ : state)
        store->bump("ㄉㄜ˙", "的"); // every change writes the whole file
    state.counters["transitions"] = static_cast<double>(store->transitionCount());
    state.counters["fileKB"] = static_cast<double>(std::filesystem::file_size(path)) / 1024.0;
    std::filesystem::remove_all(path.parent_path());
}
BENCHMARK(BM_StoreSave)->Unit(benchmark::kMillisecond);

} // namespace
