#pragma once

// An engine over the bundled dictionary and the system word list, set up as the host sets it, and
// a way to type a script of Zhuyin syllables and plain keys as a user would.
#include "EngineTestSupport.hpp"

#include <filesystem>

namespace kelvo::testing {

inline std::shared_ptr<const Lexicon> bundledLexicon() {
    static const auto lexicon = Lexicon::contentsOf(KELVO_RESOURCES_DIR "/data/data.txt");
    return lexicon;
}

inline std::shared_ptr<const EnglishDetector> systemWords() {
    static const auto detector = std::filesystem::exists("/usr/share/dict/words")
                                     ? EnglishDetector::contentsOf("/usr/share/dict/words")
                                     : std::make_shared<const EnglishDetector>();
    return detector;
}

inline std::shared_ptr<const EnglishVocabulary> bundledVocabulary() {
    static const auto vocabulary = EnglishVocabulary::contentsOf(KELVO_RESOURCES_DIR "/data/english.txt");
    return vocabulary;
}

inline std::shared_ptr<const WordPairModel> bundledWordPairs() {
    static const auto model = WordPairModel::open(KELVO_RESOURCES_DIR "/data/bigrams.bin");
    return model;
}

class BundledEngineTest : public ::testing::Test {
protected:
    InputEngine engine{bundledLexicon()};

    void SetUp() override {
        engine.setWordPairs(bundledWordPairs());
        configure(engine, [&](EngineSettings& s) {
            s.englishDetector = systemWords();
            s.englishVocabulary = bundledVocabulary();
            s.formatting = TextFormatting(true, true, false, true, {}, PunctuationMode::smart);
        });
    }

    // Opens the list at the cursor and chooses `value`, paging to it.
    void pick(const std::string& value) {
        engine.handle(KeyInput::of(KeyInput::Kind::arrowDown));
        while (true) {
            auto view = engine.sheetView();
            ASSERT_TRUE(view) << value;
            for (const auto& item : view->items)
                if (item.value == value && engine.selectCandidate(item.index)) return;
            engine.handle(KeyInput::of(KeyInput::Kind::pageDown));
            ASSERT_NE(engine.sheetView()->pageIndex, view->pageIndex) << value << " is not offered";
        }
    }

    // What the client receives while the script is typed and the composition then committed.
    std::string typeScript(std::string_view script) {
        std::string received = fieldAfter(engine, script);
        return received + engine.flush().value_or("");
    }

    std::string type(std::string_view script) {
        for (const KeyInput& key : scriptKeys(script))
            engine.handle(key);
        return engine.preedit().text();
    }
};

} // namespace kelvo::testing
