// The word list loads at every start of the input method; formatting runs on every commit.
#include "Detectors/EnglishDetector.hpp"
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
