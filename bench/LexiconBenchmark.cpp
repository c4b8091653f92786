// Loading the bundled dictionary and its model of word pairs happens on every start of the input
// method.
#include "Dictionary/Lexicon.hpp"
#include "Dictionary/WordPairModel.hpp"

#include <benchmark/benchmark.h>
#include <sys/resource.h>

namespace {

const char* const bundledDictionary = KELVO_RESOURCES_DIR "/data/data.txt";

double peakResidentMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_LexiconLoad(benchmark::State& state) {
    std::size_t entries = 0;
    for (auto _ : state) {
        auto lexicon = kelvo::Lexicon::contentsOf(bundledDictionary);
        entries = lexicon->entryCount();
        benchmark::DoNotOptimize(lexicon);
    }
    state.counters["entries"] = static_cast<double>(entries);
    state.counters["peakRSS_MB"] = peakResidentMegabytes();
}
BENCHMARK(BM_LexiconLoad)->Unit(benchmark::kMillisecond);

// Mapping the model of word pairs: nothing is parsed, so this is the cost at start-up.
void BM_WordPairModelLoad(benchmark::State& state) {
    std::size_t pairs = 0;
    for (auto _ : state) {
        auto model = kelvo::WordPairModel::open(KELVO_RESOURCES_DIR "/data/bigrams.bin");
        pairs = model->pairCount();
        benchmark::DoNotOptimize(model);
    }
    state.counters["pairs"] = static_cast<double>(pairs);
}
BENCHMARK(BM_WordPairModelLoad)->Unit(benchmark::kMicrosecond);

void BM_LexiconLookup(benchmark::State& state) {
    auto lexicon = kelvo::Lexicon::contentsOf(bundledDictionary);
    const std::string readings[] = {"ㄋㄧˇ", "ㄋㄧˇ-ㄏㄠˇ", "ㄊㄞˊ-ㄨㄢ", "ㄓㄨㄥ-ㄨㄣˊ-ㄕㄨ-ㄖㄨˋ",
                                    "ㄅㄨˋ-ㄘㄨㄣˊ-ㄗㄞˋ"};
    for (auto _ : state)
        for (const auto& reading : readings)
            benchmark::DoNotOptimize(lexicon->unigrams(reading).size());
    state.SetItemsProcessed(state.iterations() * 5);
}
BENCHMARK(BM_LexiconLookup);

} // namespace
