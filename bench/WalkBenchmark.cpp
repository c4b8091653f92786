// A whole composition walked afresh (a decoder keeps what it worked out for the next walk, so each
// walk here takes a new one); learned data is saved on every commit.
#include "BenchmarkSupport.hpp"
#include "Dictionary/SentenceDecoder.hpp"
#include "PersonalData/UserPhraseStore.hpp"

#include <benchmark/benchmark.h>

namespace {

using namespace kelvo::bench;

void BM_Walk(benchmark::State& state) {
    auto elements = composition(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(kelvo::SentenceDecoder(bundledLexicon()).walk(elements, {}));
}
BENCHMARK(BM_Walk)->Arg(10)->Arg(20)->Arg(40)->Unit(benchmark::kMicrosecond);

void BM_WalkWithStore(benchmark::State& state) {
    auto path = temporaryPath("walk.json");
    auto store = busyStore(path);
    auto elements = composition(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(kelvo::SentenceDecoder(bundledLexicon()).walk(elements, {}, store.get()));
    state.counters["transitions"] = static_cast<double>(store->transitionCount());
    std::filesystem::remove_all(path.parent_path());
}
BENCHMARK(BM_WalkWithStore)->Arg(10)->Arg(20)->Arg(40)->Unit(benchmark::kMicrosecond);

} // namespace
