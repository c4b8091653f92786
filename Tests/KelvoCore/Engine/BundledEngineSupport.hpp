#pragma once

// An engine over the bundled dictionary and the system word list, set up as the host sets it, and
// a way to type a script of Zhuyin syllables and plain keys as a user would.
#include "EngineTestSupport.hpp"
#include "Zhuyin/DachenLayout.hpp"

#include <filesystem>
#include <map>
#include <sstream>

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

// Tokens separated by single spaces: a Zhuyin syllable is typed as its Dachen keys, "␣" is the Space
// bar, "⇥" the Tab key, "⏎" Enter, "↓" the Down arrow; anything else is typed key by key.
inline std::vector<KeyInput> scriptKeys(std::string_view script) {
    static const std::map<std::string, KeyInput::Kind, std::less<>> namedKeys = {
        {"␣", KeyInput::Kind::space},
        {"⇥", KeyInput::Kind::tab},
        {"⏎", KeyInput::Kind::enter},
        {"↓", KeyInput::Kind::arrowDown},
    };
    std::vector<KeyInput> keys;
    std::stringstream tokens{std::string(script)};
    for (std::string token; std::getline(tokens, token, ' ');) {
        if (auto named = namedKeys.find(token); named != namedKeys.end()) {
            keys.push_back(KeyInput::of(named->second));
            continue;
        }
        for (char key : DachenLayout::keys(token).value_or(token))
            keys.push_back(key == ' ' ? KeyInput::of(KeyInput::Kind::space)
                                      : KeyInput::typed(std::string(1, key)));
    }
    return keys;
}

class BundledEngineTest : public ::testing::Test {
protected:
    InputEngine engine{bundledLexicon()};

    void SetUp() override {
        configure(engine, [&](EngineSettings& s) { s.englishDetector = systemWords(); });
        configure(engine, [&](EngineSettings& s) {
            s.formatting = TextFormatting(true, true, false, true, {}, PunctuationMode::smart);
        });
    }

    // What the client receives while the script is typed and the composition then committed.
    std::string typeScript(std::string_view script) {
        std::string received;
        for (const KeyInput& key : scriptKeys(script)) {
            auto output = engine.handle(key);
            if (output.commitText) received += *output.commitText;
            if (!output.handled && key.kind == KeyInput::Kind::character) received += key.character;
            if (!output.handled && key.kind == KeyInput::Kind::space) received += " ";
        }
        if (auto rest = engine.flush()) received += *rest;
        return received;
    }

    std::string type(std::string_view script) {
        for (const KeyInput& key : scriptKeys(script))
            engine.handle(key);
        return engine.preedit().text();
    }
};

} // namespace kelvo::testing
