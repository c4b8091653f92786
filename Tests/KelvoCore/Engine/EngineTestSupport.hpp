#pragma once

#include "Engine/InputEngine.hpp"
#include "Engine/KeyLattice.hpp"
#include "Engine/KeyScript.hpp"

#include <gtest/gtest.h>
#include <string_view>

namespace kelvo::testing {

// A small lexicon whose words are known by heart, and helpers to type on the Dachen keys.
inline const char* const smallLexicon =
    "ㄋㄧˇ 你 -3\nㄋㄧˇ 妳 -5\nㄏㄠˇ 好 -3\nㄏㄠˇ 號 -6\nㄋㄧˇ-ㄏㄠˇ 你好 -4\n"
    "ㄇㄚ 媽 -4\nㄇㄚ 麻 -5\nㄇㄚ-ㄇㄚ 媽媽 -4\nㄊㄚ 他 -3\nㄊㄚ 她 -4\n"
    "ㄊㄧㄢ 天 -3\nㄍㄨㄥ 𠀀 -3\nㄍㄨㄥ 工 -4\nㄊㄚ-ㄇㄚ 他們的字 -5\n"
    "ㄅㄚ 一 -1\nㄅㄚ 二 -2\nㄅㄚ 三 -3\nㄅㄚ 四 -4\nㄅㄚ 五 -5\nㄅㄚ 六 -6\n"
    "ㄅㄚ 七 -7\nㄅㄚ 八 -8\nㄅㄚ 九 -9\nㄅㄚ 十 -10\nㄅㄚ 甲 -11\nㄅㄚ 乙 -12\n"
    "ㄅㄚ 丙 -13\nㄅㄚ 丁 -14\nㄅㄚ 戊 -15\nㄅㄚ 己 -16\nㄅㄚ 庚 -17\nㄅㄚ 辛 -18\n"
    "ㄅㄚ 壬 -19\nㄅㄚ 癸 -20\n";

// The keys of a key script ({ㄋㄧˇ} types a syllable's Dachen keys); a malformed script fails.
inline std::vector<KeyInput> scriptKeys(std::string_view script) {
    auto parsed = parseKeyScript(script);
    if (auto* error = std::get_if<std::string>(&parsed)) ADD_FAILURE() << *error << " in " << script;
    return std::get_if<std::vector<KeyInput>>(&parsed) ? std::get<std::vector<KeyInput>>(parsed)
                                                       : std::vector<KeyInput>{};
}

class EngineTest : public ::testing::Test {
protected:
    std::shared_ptr<const Lexicon> lexicon = std::make_shared<const Lexicon>(smallLexicon);
    InputEngine engine{lexicon};

    // Types a key script: a space is the Space bar, {left} and the like the named keys, anything
    // else a character key. Answers the last key's output.
    InputEngine::Output type(std::string_view script) {
        InputEngine::Output last;
        for (const KeyInput& key : scriptKeys(script))
            last = engine.handle(key);
        return last;
    }
    InputEngine::Output press(KeyInput::Kind kind) { return engine.handle(KeyInput::of(kind)); }
    std::string text() const { return engine.preedit().text(); }
};

// A reading of a stretch of keys as its pieces: English, numbers and Space as typed, syllables as
// their readings, joined by "|"; "(none)" for no reading.
inline std::string textOf(const std::optional<KeyPath>& path, std::string_view keys) {
    if (!path) return "(none)";
    std::string text;
    for (const KeySegment& segment : path->segments)
        text += (text.empty() ? "" : "|") +
                (segment.kind == KeySegment::Kind::syllable
                     ? segment.reading
                     : std::string(keys.substr(segment.start, segment.end - segment.start)));
    return text;
}

// The lattice's best reading of a stretch.
inline std::string bestPathOf(const KeyRunScorer& scorer, const KeyLattice::Stretch& stretch) {
    return textOf(KeyLattice(scorer).best(stretch), stretch.keys);
}

// Changes some of the engine's settings, keeping the others.
template <typename Change> void configure(InputEngine& engine, Change change) {
    EngineSettings settings = engine.settings();
    change(settings);
    engine.setSettings(std::move(settings));
}

using Kind = KeyInput::Kind;
using Style = InputEngine::Preedit::Style;
using Piece = InputEngine::Preedit::Piece;

// The values of a candidate list, in order.
inline std::vector<std::string> values(const InputEngine::SheetView& view) {
    std::vector<std::string> result;
    for (const auto& item : view.items)
        result.push_back(item.value);
    return result;
}

inline const InputEngine::Output handledOutput{true, std::nullopt};
inline const InputEngine::Output notHandledOutput{false, std::nullopt};

} // namespace kelvo::testing
