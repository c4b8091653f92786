// Long random key sequences, with learning and shortcuts on, must never break the engine's state.
// KELVO_RANDOM_KEYS sets how many keys to run (a few thousand by default; millions on demand).
#include "../../Support/TemporaryFolder.hpp"
#include "BundledEngineSupport.hpp"

#include <cstdlib>
#include <random>

using namespace kelvo;
using namespace kelvo::testing;

namespace {

KeyInput randomKey(std::mt19937_64& random) {
    static const std::string dachen = "1qaz2wsxedcrfv5tgbyhnujm8ik,9ol.0p;/-6347";
    static const std::string printable = "!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~abcxyz0123456789";
    switch (random() % 10) {
    case 0:
    case 1:
    case 2:
    case 3:
        return KeyInput::typed(std::string(1, dachen[random() % dachen.size()]));
    case 4:
        return KeyInput::typed(std::string(1, printable[random() % printable.size()]));
    case 5:
        return KeyInput::repeated(std::string(1, dachen[random() % dachen.size()]));
    case 6:
        return KeyInput::english(std::string(1, static_cast<char>('A' + random() % 26)));
    default:
        return KeyInput::of(static_cast<KeyInput::Kind>(3 + random() % 11)); // every key without a character
    }
}

} // namespace

TEST_F(BundledEngineTest, RandomKeysKeepTheStateConsistent) {
    TemporaryFolder folder;
    auto phrases = std::make_shared<UserPhraseStore>(folder / "userphrases.json");
    auto shortcuts = std::make_shared<CustomTextStore>();
    ASSERT_FALSE(shortcuts->set("ab", "𠀀 shortcut"));
    engine.setUserPhrases(phrases);
    configure(engine, [&](EngineSettings& s) { s.customText = true; });
    configure(engine, [&](EngineSettings& s) { s.customTexts = shortcuts; });

    const char* requested = std::getenv("KELVO_RANDOM_KEYS");
    const long keys = requested ? std::atol(requested) : 4000;
    std::mt19937_64 random(requested ? std::random_device{}() : 7);
    for (long n = 0; n < keys; ++n) {
        KeyInput key = randomKey(random);
        engine.handle(key);
        if (random() % 50 == 0) engine.selectCandidate(static_cast<int>(random() % 12) - 1);
        if (random() % 80 == 0) engine.setCandidatesExpanded(random() % 2 == 0);
        if (random() % 200 == 0) engine.flush();
        engine.sheetView();
        engine.englishHintView();
        engine.feedback();
        auto violation = engine.invariantViolation();
        ASSERT_FALSE(violation) << *violation << " after key " << n << " (kind " << static_cast<int>(key.kind)
                                << " '" << key.character << "')";
    }
}
