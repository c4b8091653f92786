// Learned data at its size limit: what Enter costs on the key path, and what the background save
// that follows costs.
#include "BenchmarkSupport.hpp"
#include "Engine/InputEngine.hpp"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>

namespace {

constexpr std::size_t learnedPairs = 100000;

kelvo::KeyInput keyFor(char key) {
    return key == ' ' ? kelvo::KeyInput::of(kelvo::KeyInput::Kind::space)
                      : kelvo::KeyInput::typed(std::string(1, key));
}

double percentile(std::vector<double> values, double fraction) {
    if (values.empty()) return 0;
    auto at = values.begin() + static_cast<std::ptrdiff_t>(fraction * static_cast<double>(values.size() - 1));
    std::nth_element(values.begin(), at, values.end());
    return *at;
}

// Types ten syllables untimed, then times Enter alone; the p99 of Enter is reported beside the mean.
void BM_EnterWithLearnedData(benchmark::State& state) {
    kelvo::InputEngine engine(kelvo::bench::bundledLexicon());
    auto store = kelvo::bench::busyStore(kelvo::bench::temporaryPath("enter.json"), learnedPairs);
    engine.setUserPhrases(store);
    std::vector<double> micros;
    for (auto _ : state) {
        state.PauseTiming();
        for (std::size_t i = 0; i < 10; ++i)
            for (char key : kelvo::bench::keysOf(kelvo::bench::sentenceReadings[i]))
                engine.handle(keyFor(key));
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(engine.handle(kelvo::KeyInput::of(kelvo::KeyInput::Kind::enter)));
        micros.push_back(
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
    }
    state.counters["p99_us"] = percentile(micros, 0.99);
    state.counters["max_us"] = percentile(micros, 1.0);
    state.counters["entries"] = static_cast<double>(store->data().entryCount(store->data().transitions) +
                                                    store->data().entryCount(store->data().selections));
    store->flush();
    std::filesystem::remove_all(store->fileURL()->parent_path());
}
BENCHMARK(BM_EnterWithLearnedData)->Unit(benchmark::kMicrosecond)->Iterations(2000);

// One change, then the whole merge the worker does: read, parse, replay, prune, encode, write.
void BM_SaveLearnedData(benchmark::State& state) {
    auto store = kelvo::bench::busyStore(kelvo::bench::temporaryPath("save.json"), learnedPairs);
    for (auto _ : state) {
        store->bump("ㄇㄚ", "媽");
        store->flush();
    }
    state.counters["file_bytes"] = static_cast<double>(std::filesystem::file_size(*store->fileURL()));
    std::filesystem::remove_all(store->fileURL()->parent_path());
}
BENCHMARK(BM_SaveLearnedData)->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace
