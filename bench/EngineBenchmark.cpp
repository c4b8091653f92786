// One key as the host handles it: handle, then the marked text and the candidate list it redraws.
#include "BenchmarkSupport.hpp"
#include "Detectors/EnglishDetector.hpp"
#include "Engine/InputEngine.hpp"

#include <benchmark/benchmark.h>

namespace {

kelvo::KeyInput keyFor(char key) {
    return key == ' ' ? kelvo::KeyInput::of(kelvo::KeyInput::Kind::space)
                      : kelvo::KeyInput::typed(std::string(1, key));
}

void handleKey(benchmark::State& state, bool learning) {
    kelvo::InputEngine engine(kelvo::bench::bundledLexicon());
    engine.setWordPairs(kelvo::bench::bundledWordPairs());
    std::shared_ptr<kelvo::UserPhraseStore> store;
    if (learning) {
        // As the host runs it: the system word list, and learned data with 20000 word pairs.
        kelvo::EngineSettings settings;
        settings.englishDetector = kelvo::EnglishDetector::contentsOf("/usr/share/dict/words");
        engine.setSettings(settings);
        store = kelvo::bench::busyStore(kelvo::bench::temporaryPath("engine.json"));
        engine.setUserPhrases(store);
    }
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
    if (store) std::filesystem::remove_all(store->fileURL()->parent_path());
}

void BM_HandleKey(benchmark::State& state) {
    handleKey(state, false);
}
BENCHMARK(BM_HandleKey)->Arg(10)->Arg(20)->Arg(40)->Unit(benchmark::kMicrosecond);

void BM_HandleKeyWithLearning(benchmark::State& state) {
    handleKey(state, true);
}
BENCHMARK(BM_HandleKeyWithLearning)->Arg(10)->Arg(20)->Arg(40)->Unit(benchmark::kMicrosecond);

} // namespace
