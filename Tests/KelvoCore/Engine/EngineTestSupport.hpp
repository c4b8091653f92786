#pragma once

#include "Engine/InputEngine.hpp"
#include "Engine/KeyLattice.hpp"
#include "Engine/KeyScript.hpp"
#include "Text/UTF16.hpp"

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

// The text field a script types into: what the engine commits, and the keys it passes on (characters
// and Space as typed, the other keys by their names in the script).
inline std::string fieldAfter(InputEngine& engine, std::string_view script) {
    static const auto named = scriptKeys("{enter}{tab}{esc}{bs}{left}{right}{up}{down}{pgup}{pgdn}");
    static const char* const names[] = {"{enter}", "{tab}", "{esc}",  "{bs}",   "{left}",
                                        "{right}", "{up}",  "{down}", "{pgup}", "{pgdn}"};
    std::string field;
    for (const KeyInput& key : scriptKeys(script)) {
        const auto output = engine.handle(key);
        if (output.commitText) field += *output.commitText;
        if (output.handled) continue;
        if (key.kind == KeyInput::Kind::character) field += key.character;
        if (key.kind == KeyInput::Kind::space) field += ' ';
        for (std::size_t i = 0; i < named.size(); ++i)
            if (named[i].kind == key.kind) field += names[i];
    }
    return field;
}

// What a user sees after a script typed into a fresh field: the field, then the marked text in
// brackets with the caret as "|", "+" while keys are taken as literals, and "▾" while a list is open.
inline std::string seenAfter(InputEngine& engine, std::string_view script) {
    std::string seen = fieldAfter(engine, script);
    const auto preedit = engine.preedit();
    auto marked = toUTF16(preedit.text());
    if (!preedit.pieces.empty()) marked.insert(static_cast<int32_t>(preedit.caretUTF16), u'|');
    seen.append("[").append(toUTF8(marked)).append(engine.isInLiteralRun() ? "]+" : "]");
    if (engine.sheetView()) seen += "▾";
    engine.flush();
    return seen;
}

// An open list as a user sees it: each item with its digit, the highlighted one in brackets, then
// the page and "+" when expanded; "(none)" when no list is open.
inline std::string listShown(const InputEngine& engine) {
    const auto view = engine.sheetView();
    if (!view) return "(none)";
    std::string shown;
    for (std::size_t i = 0; i < view->items.size(); ++i) {
        const auto& item = view->items[i];
        std::string text = item.label.empty() ? item.value : item.label + "." + item.value;
        shown += static_cast<int>(i) == view->highlightedInPage ? "[" + text + "] " : text + " ";
    }
    return shown + std::to_string(view->pageIndex + 1) + "/" + std::to_string(view->pageCount) +
           (view->expanded ? "+" : "");
}

using SeenTable = std::vector<std::pair<const char*, const char*>>;

// Each script, typed into a fresh field, shows what its row expects.
inline void expectSeen(InputEngine& engine, const SeenTable& table) {
    for (const auto& [script, expected] : table)
        EXPECT_EQ(seenAfter(engine, script), expected) << script;
}

// Each script, typed into a fresh field, leaves open the list its row expects.
inline void expectLists(InputEngine& engine, const SeenTable& table) {
    for (const auto& [script, expected] : table) {
        fieldAfter(engine, script);
        EXPECT_EQ(listShown(engine), expected) << script;
        engine.flush();
    }
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
    void expectSeen(const SeenTable& table) { kelvo::testing::expectSeen(engine, table); }
    void expectLists(const SeenTable& table) { kelvo::testing::expectLists(engine, table); }
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

} // namespace kelvo::testing
