// One key as the host handles it: handle, then the marked text and the candidate list it redraws.
#include "BenchmarkText.hpp"
#include "Engine/InputEngine.hpp"

#include <benchmark/benchmark.h>

namespace {

kelvo::KeyInput keyFor(char key) {
    return key == ' ' ? kelvo::KeyInput::of(kelvo::KeyInput::Kind::space)
                      : kelvo::KeyInput::typed(std::string(1, key));
}

void BM_HandleKey(benchmark::State& state) {
    static const auto lexicon = kelvo::Lexicon::contentsOf(KELVO_RESOURCES_DIR "/data/data.txt");
    kelvo::InputEngine engine(lexicon);
    const auto syllables = static_cast<std::size_t>(state.range(0));
    for (std::size_t i = 0; i + 1 < syllables; ++i)
        for (char key : kelvo::bench::keysOf(kelvo::bench::sentenceReadings[i]))
            engine.handle(keyFor(key));
    // Each timed key finishes the last syllable, which re-decodes the whole composition.
    const std::string last = kelvo::bench::keysOf(kelvo::bench::sentenceReadings[syllables - 1]);
    const std::string letters = last.substr(0, last.size() - 1);
    const kelvo::KeyInput toneKey = keyFor(last.back());
    for (auto _ : state) {
        state.PauseTiming();
        for (char key : letters)
            engine.handle(keyFor(key));
        state.ResumeTiming();
        benchmark::DoNotOptimize(engine.handle(toneKey));
        benchmark::DoNotOptimize(engine.preedit());
        benchmark::DoNotOptimize(engine.sheetView());
        state.PauseTiming();
        engine.handle(kelvo::KeyInput::of(kelvo::KeyInput::Kind::backspace));
        state.ResumeTiming();
    }
}
BENCHMARK(BM_HandleKey)->Arg(10)->Arg(20)->Arg(40)->Unit(benchmark::kMicrosecond);

} // namespace
