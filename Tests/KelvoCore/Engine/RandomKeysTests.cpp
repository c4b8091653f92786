// Long random key sequences, with learning and shortcuts on and the page size anywhere in its range,
// must never break the engine's state. KELVO_RANDOM_KEYS sets how many keys to run (a few thousand
// by default; millions on demand); KELVO_RANDOM_SEED replays a run, whose seed every run prints.
#include "BundledEngineSupport.hpp"

#include <cstdlib>
#include <iostream>
#include <random>

using namespace kelvo;
using namespace kelvo::testing;

namespace {

std::uint64_t seedOfThisRun() {
    if (const char* seed = std::getenv("KELVO_RANDOM_SEED")) return std::strtoull(seed, nullptr, 10);
    return std::getenv("KELVO_RANDOM_KEYS") ? std::random_device{}() : 7;
}

std::string randomCharacter(KeyInput::Kind kind, std::mt19937_64& random) {
    static const std::string dachen = "1qaz2wsxedcrfv5tgbyhnujm8ik,9ol.0p;/-6347";
    static const std::string printable = "!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~abcxyz0123456789";
    if (kind == KeyInput::Kind::englishLiteral) return std::string(1, static_cast<char>('A' + random() % 26));
    const std::string& keys = kind == KeyInput::Kind::character && random() % 5 == 0 ? printable : dachen;
    return std::string(1, keys[random() % keys.size()]);
}

KeyInput randomKey(std::mt19937_64& random) {
    // Printable keys most of the time, as when typing; every kind of key now and then.
    KeyInput::Kind kind = random() % 2 == 0 ? KeyInput::Kind::character
                                            : KeyInput::allKinds[random() % KeyInput::allKinds.size()];
    if (!KeyInput::carriesCharacter(kind)) return KeyInput::of(kind);
    return KeyInput{kind, randomCharacter(kind, random)};
}

int randomPageSize(std::mt19937_64& random) {
    switch (random() % 4) {
    case 0:
        return static_cast<int>(random() % 12) - 1;
    case 1:
        return std::numeric_limits<int>::max() - static_cast<int>(random() % 3);
    default:
        return 9;
    }
}

} // namespace

TEST_F(BundledEngineTest, RandomKeysKeepTheStateConsistent) {
    auto phrases = std::make_shared<UserPhraseStore>();
    auto shortcuts = std::make_shared<CustomTextStore>();
    ASSERT_FALSE(shortcuts->set("ab", "𠀀 shortcut"));
    engine.setUserPhrases(phrases);
    configure(engine, [&](EngineSettings& s) {
        s.customText = true;
        s.customTexts = shortcuts;
    });

    const char* requested = std::getenv("KELVO_RANDOM_KEYS");
    const long keys = requested ? std::atol(requested) : 4000;
    const std::uint64_t seed = seedOfThisRun();
    std::cout << "random keys: " << keys << ", KELVO_RANDOM_SEED=" << seed << "\n";
    std::mt19937_64 random(seed);
    for (long n = 0; n < keys; ++n) {
        KeyInput key = randomKey(random);
        engine.handle(key);
        if (random() % 50 == 0) engine.selectCandidate(static_cast<int>(random() % 12) - 1);
        if (random() % 80 == 0) engine.setCandidatesExpanded(random() % 2 == 0);
        if (random() % 200 == 0) engine.flush();
        if (random() % 300 == 0)
            configure(engine, [&](EngineSettings& s) { s.pageSize = randomPageSize(random); });
        engine.sheetView();
        engine.englishHintView();
        engine.feedback();
        auto violation = engine.invariantViolation();
        ASSERT_FALSE(violation) << *violation << " after key " << n << " (kind " << static_cast<int>(key.kind)
                                << " '" << key.character << "'), KELVO_RANDOM_SEED=" << seed;
    }
}
