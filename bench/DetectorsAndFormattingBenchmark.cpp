// The word list loads at every start of the input method; formatting runs on every commit.
#include "BenchmarkSupport.hpp"
#include "Detectors/DachenKeyModel.hpp"
#include "Detectors/EnglishDetector.hpp"
#include "Detectors/EnglishVocabulary.hpp"
#include "Formatting/TextFormatting.hpp"

#include <benchmark/benchmark.h>

namespace {

void BM_EnglishDetectorLoad(benchmark::State& state) {
    std::size_t words = 0;
    for (auto _ : state) {
        auto detector = kelvo::EnglishDetector::contentsOf("/usr/share/dict/words");
        words = detector->words().size();
        benchmark::DoNotOptimize(detector);
    }
    state.counters["words"] = static_cast<double>(words);
}
BENCHMARK(BM_EnglishDetectorLoad)->Unit(benchmark::kMillisecond);

void BM_FormatCommit(benchmark::State& state) {
    kelvo::TextFormatting formatting(true, true, true, true, {{"kelvo", "Kelvo"}},
                                     kelvo::PunctuationMode::chinese);
    // 40 characters of mixed Chinese, English, numbers, punctuation and an address.
    const std::string sentence = "今天用kelvo寫review,api第3版在github發布,寄a@b.io?";
    for (auto _ : state)
        benchmark::DoNotOptimize(formatting.apply(sentence, {{12, 15}}));
}
BENCHMARK(BM_FormatCommit)->Unit(benchmark::kMicrosecond);

} // namespace

namespace {

// The bundled English vocabulary is loaded once per process, at start.
void BM_VocabularyLoad(benchmark::State& state) {
    std::size_t words = 0, bytes = 0;
    for (auto _ : state) {
        auto vocabulary = kelvo::EnglishVocabulary::contentsOf(KELVO_RESOURCES_DIR "/data/english.txt");
        words = vocabulary->size();
        bytes = vocabulary->memoryUsage();
        benchmark::DoNotOptimize(vocabulary);
    }
    state.counters["words"] = static_cast<double>(words);
    state.counters["memory_MB"] = static_cast<double>(bytes) / (1024.0 * 1024.0);
}
BENCHMARK(BM_VocabularyLoad)->Unit(benchmark::kMillisecond);

void BM_VocabularyLookup(benchmark::State& state) {
    auto vocabulary = kelvo::EnglishVocabulary::contentsOf(KELVO_RESOURCES_DIR "/data/english.txt");
    const std::string_view words[] = {"the", "github", "autoremover", "readline", "zq"};
    for (auto _ : state)
        for (std::string_view word : words)
            benchmark::DoNotOptimize(vocabulary->score(word));
    state.SetItemsProcessed(state.iterations() * 5);
}
BENCHMARK(BM_VocabularyLookup);

// The model of Dachen key strings is built from the dictionary once per process, with the first engine.
void BM_DachenKeyModelBuild(benchmark::State& state) {
    auto lexicon = kelvo::bench::bundledLexicon();
    for (auto _ : state)
        benchmark::DoNotOptimize(kelvo::DachenKeyModel(*lexicon));
}
BENCHMARK(BM_DachenKeyModelBuild)->Unit(benchmark::kMillisecond);

} // namespace
