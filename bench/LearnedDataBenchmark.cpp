// Learned data at its size limit: what Enter costs on the key path, and what the background save
// that follows costs.
#include "BenchmarkSupport.hpp"
#include "Engine/InputEngine.hpp"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <optional>
#include <thread>

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

// Typing at a human pace (a key every 60 ms, Enter after each sentence) into full tables while
// saves run and another process's writes are taken in: the cost of every key, and how long each
// commit took to reach the disk.
void BM_TypingWhileSaving(benchmark::State& state) {
    const auto path = kelvo::bench::temporaryPath("pace.json");
    auto store = kelvo::bench::busyStore(path, 20000, /*full=*/true);
    kelvo::UserPhraseStore other(path);
    kelvo::InputEngine engine(kelvo::bench::bundledLexicon());
    engine.setUserPhrases(store);
    std::vector<double> micros, toDisk;
    using Clock = std::chrono::steady_clock;
    std::optional<std::pair<Clock::time_point, std::optional<kelvo::FileVersion>>> unsaved; // a commit
    for (auto _ : state) {
        for (std::size_t sentence = 0; sentence < 4; ++sentence) {
            std::vector<kelvo::KeyInput> keys;
            for (std::size_t i = sentence * 10; i < sentence * 10 + 10; ++i)
                for (char key : kelvo::bench::keysOf(kelvo::bench::sentenceReadings[i]))
                    keys.push_back(keyFor(key));
            keys.push_back(kelvo::KeyInput::of(kelvo::KeyInput::Kind::enter));
            for (std::size_t i = 0; i < keys.size(); ++i) {
                const auto start = Clock::now();
                benchmark::DoNotOptimize(engine.handle(keys[i]));
                micros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
                if (i == 5) other.bump("ㄆㄚ", "趴" + std::to_string(sentence)); // another process learns
                if (keys[i].kind == kelvo::KeyInput::Kind::enter)
                    unsaved.emplace(start, kelvo::versionOfFile(path));
                std::this_thread::sleep_for(std::chrono::milliseconds(60));
                // Typing goes on while the commit makes its way to the disk.
                if (unsaved && kelvo::versionOfFile(path) != unsaved->second) {
                    toDisk.push_back(
                        std::chrono::duration<double, std::milli>(Clock::now() - unsaved->first).count());
                    unsaved.reset();
                }
            }
        }
    }
    double sum = 0;
    for (double value : micros)
        sum += value;
    state.counters["keys"] = static_cast<double>(micros.size());
    state.counters["mean_us"] = sum / static_cast<double>(micros.size());
    state.counters["p99_us"] = percentile(micros, 0.99);
    state.counters["max_us"] = percentile(micros, 1.0);
    state.counters["to_disk_max_ms"] = percentile(toDisk, 1.0);
    state.counters["to_disk_median_ms"] = percentile(toDisk, 0.5);
    store->flush();
    std::filesystem::remove_all(path.parent_path());
}
BENCHMARK(BM_TypingWhileSaving)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
