// The fast walk against the plain one, on random compositions drawn from the bundled dictionary.
#include "FunctionModel.hpp"
#include "ReferenceWalk.hpp"

#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sstream>

using namespace kelvo;
using kelvo::testing::FunctionModel;

namespace {

struct Corpus {
    std::shared_ptr<const Lexicon> lexicon;
    std::vector<std::vector<std::string>> words; // readings of real words, split into syllables
    std::vector<std::string> syllables;
};

const Corpus& bundled() {
    static const Corpus corpus = [] {
        Corpus c;
        const std::string path = KELVO_RESOURCES_DIR "/data/data.txt";
        c.lexicon = Lexicon::contentsOf(path);
        std::ifstream file(path);
        std::string line, last;
        while (std::getline(file, line)) {
            if (line.empty() || line[0] == '#') continue;
            std::string reading = line.substr(0, line.find(' '));
            if (reading == last) continue;
            last = reading;
            std::vector<std::string> syllables;
            std::stringstream parts(reading);
            for (std::string syllable; std::getline(parts, syllable, '-');)
                syllables.push_back(syllable);
            if (syllables.size() == 1) c.syllables.push_back(syllables[0]);
            c.words.push_back(std::move(syllables));
        }
        return c;
    }();
    return corpus;
}

std::uint64_t mix(std::string_view a, std::string_view b, std::uint64_t seed) {
    return std::hash<std::string>{}(std::string(a) + '\x1f' + std::string(b)) ^ seed;
}

// A model that answers deterministically from its arguments, so both walks see the same values.
void randomise(SentenceDecoder& decoder, FunctionModel& model, std::mt19937_64& random) {
    std::uint64_t seed = random();
    int which = static_cast<int>(random() % 8);
    if (which & 1)
        model.scoreBonus = [seed](std::string_view reading, std::string_view value) {
            auto h = mix(reading, value, seed);
            return h % 5 == 0 ? 2 * std::log(static_cast<double>(h % 4 + 2)) : 0.0;
        };
    if (which & 2)
        model.extra = [seed](std::string_view reading) {
            std::vector<Unigram> extra;
            auto h = mix(reading, "", seed);
            if (h % 3 == 0) extra.push_back({"詞" + std::to_string(h % 3), -8.0});
            if (h % 7 == 0) extra.push_back({"的", -1.0 - static_cast<double>(h % 5)});
            if (h % 11 == 0) extra.push_back({"詞0", -8.0});
            return extra;
        };
    if (which & 4)
        model.transitions = [seed](std::string_view previous) -> LearnedModel::TransitionScorer {
            if (mix(previous, "", seed) % 3 != 0) return {};
            std::string from(previous);
            return [seed, from](std::string_view value) {
                auto h = mix(from, value, seed);
                return h % 4 == 0 ? LearnedModel::Transition{std::log(static_cast<double>(h % 9 + 2)),
                                                             static_cast<double>(h % 5 + 1) / 5}
                                  : LearnedModel::Transition{};
            };
        };
    if (random() % 4 == 0) decoder.candidateDepth = static_cast<int>(random() % 6);
    if (random() % 4 == 0) decoder.transitionWeight = 0.5 * static_cast<double>(random() % 6);
}

std::vector<Element> randomComposition(const Corpus& corpus, std::mt19937_64& random) {
    std::vector<Element> elements;
    std::size_t target = 1 + random() % 24;
    while (elements.size() < target) {
        switch (random() % 10) {
        case 0:
            elements.push_back(Element::literal(std::string(1, "1,.a?"[random() % 5])));
            break;
        case 1:
            elements.push_back(Element::reading(
                random() % 2 ? "ㄅㄧㄤ" : corpus.syllables[random() % corpus.syllables.size()]));
            break;
        default:
            for (const auto& syllable : corpus.words[random() % corpus.words.size()])
                elements.push_back(Element::reading(syllable));
        }
    }
    return elements;
}

std::vector<DecodedSegment> randomPins(const SentenceDecoder& decoder, const std::vector<Element>& elements,
                                       std::mt19937_64& random) {
    std::vector<DecodedSegment> pins;
    int n = static_cast<int>(elements.size());
    for (int count = static_cast<int>(random() % 4); count > 0; --count) {
        int start = static_cast<int>(random() % n);
        if (random() % 4 == 0) {
            int length = 1 + static_cast<int>(random() % 8); // may overlap others or run past the end
            pins.push_back(DecodedSegment{start, length, "釘" + std::to_string(length), std::nullopt});
            continue;
        }
        auto candidates = decoder.candidateSegments(elements, start);
        if (!candidates.empty()) pins.push_back(candidates[random() % candidates.size()]);
    }
    return pins;
}

} // namespace

TEST(SentenceDecoderEquivalence, FastWalkMatchesPlainWalkOnRandomCompositions) {
    const Corpus& corpus = bundled();
    std::mt19937_64 random(20261206);
    int nonEmpty = 0;
    for (int round = 0; round < 3000; ++round) {
        SentenceDecoder decoder(corpus.lexicon);
        FunctionModel model;
        randomise(decoder, model, random);
        const LearnedModel* learned = random() % 8 == 0 ? nullptr : &model;
        auto elements = randomComposition(corpus, random);
        auto pins = randomPins(decoder, elements, random);
        auto fast = decoder.walk(elements, pins, learned);
        ASSERT_EQ(fast, reference::walk(decoder, elements, pins, learned)) << "round " << round;
        nonEmpty += !fast.empty();

        int start = static_cast<int>(random() % (elements.size() + 1));
        std::vector<DecodedSegment> expected;
        int longest = std::min(decoder.maximumSpan(), static_cast<int>(elements.size()) - start);
        for (int length = longest; length >= 1; --length) {
            auto reading = reference::joinedReading(elements, start, start + length);
            if (!reading) continue;
            for (const auto& word : reference::ranked(decoder, learned, *reading, 1.0)) // lists: in full
                expected.push_back(DecodedSegment{start, length, word.value, reading});
        }
        ASSERT_EQ(decoder.candidateSegments(elements, start, learned), expected) << "round " << round;
    }
    EXPECT_GT(nonEmpty, 2000); // most compositions must decode, or the comparison proves little
}
