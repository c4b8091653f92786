#include "Dictionary/SentenceDecoder.hpp"

#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <random>

using namespace kelvo;

namespace {

// A learned model made of three functions; an absent one answers as if nothing were learned.
struct FunctionModel : LearnedModel {
    std::function<double(std::string_view, std::string_view)> scoreBonus;
    std::function<std::vector<Unigram>(std::string_view)> extra;
    std::function<TransitionScorer(std::string_view)> transitions;
    std::optional<std::uint64_t> version;

    double bonus(std::string_view reading, std::string_view value) const override {
        return scoreBonus ? scoreBonus(reading, value) : 0.0;
    }
    std::vector<Unigram> extraWords(std::string_view reading) const override {
        return extra ? extra(reading) : std::vector<Unigram>{};
    }
    TransitionScorer transitionsAfter(std::string_view previous) const override {
        return transitions ? transitions(previous) : TransitionScorer{};
    }
    std::optional<std::uint64_t> revision() const override { return version; }
};

std::vector<Element> readings(std::initializer_list<const char*> syllables) {
    std::vector<Element> elements;
    for (const char* syllable : syllables)
        elements.push_back(Element::reading(syllable));
    return elements;
}

std::string text(const std::vector<DecodedSegment>& segments) {
    std::string joined;
    for (const auto& segment : segments)
        joined += segment.value + "|";
    return joined;
}

class SentenceDecoderTest : public ::testing::Test {
protected:
    std::shared_ptr<const Lexicon> lexicon = std::make_shared<const Lexicon>(
        "ㄋㄧˇ 你 -3\nㄋㄧˇ 妳 -5\nㄏㄠˇ 好 -3\nㄏㄠˇ 號 -6\nㄋㄧˇ-ㄏㄠˇ 你好 -4\n"
        "ㄇㄚ 媽 -4\nㄇㄚ 嗎 -4\nㄇㄚ 麻 -5\nㄇㄚ 媽 -6\n"
        "ㄊㄞˊ 台 -4\nㄨㄢ 灣 -5\nㄨㄢ 彎 -5\nㄊㄞˊ-ㄨㄢ 台灣 -4.5\n");
    SentenceDecoder decoder{lexicon};
};

// Syllables separated by spaces; a quoted piece is a literal.
std::vector<Element> elementsOf(std::string_view spaced) {
    std::vector<Element> elements;
    for (std::size_t start = 0; start < spaced.size();) {
        std::size_t end = std::min(spaced.find(' ', start), spaced.size());
        const std::string piece(spaced.substr(start, end - start));
        elements.push_back(piece.front() == '\'' ? Element::literal(piece.substr(1))
                                                 : Element::reading(piece));
        start = end + 1;
    }
    return elements;
}

} // namespace

TEST_F(SentenceDecoderTest, TheWalkTakesTheLikeliestWordsThroughEveryPin) {
    const std::string seven = "ㄇㄚ ㄇㄚ ㄇㄚ ㄇㄚ ㄇㄚ ㄇㄚ ㄇㄚ";
    const struct {
        std::string elements;
        std::vector<DecodedSegment> pins;
        const char* walked;
    } cases[] = {
        {"ㄋㄧˇ ㄏㄠˇ", {}, "你好|"},                // the longer word when the scores add up
        {"ㄋㄧˇ ㄅㄧㄤ ㄏㄠˇ", {}, "你|ㄅㄧㄤ|好|"}, // an unknown syllable stands for itself
        {"ㄋㄧˇ '3 ㄏㄠˇ", {}, "你|3|好|"},          // a literal always stands alone
        {"ㄇㄚ ㄋㄧˇ ㄏㄠˇ ㄇㄚ", {}, "媽|你好|媽|"},
        {"ㄇㄚ ㄋㄧˇ ㄏㄠˇ ㄇㄚ", {{1, 1, "妳", "ㄋㄧˇ"}}, "媽|妳|好|媽|"},
        {"ㄇㄚ ㄋㄧˇ ㄏㄠˇ ㄇㄚ", {{1, 3, "自訂", std::nullopt}}, "媽|自訂|"},
        {seven, {{0, 7, "七個字的詞語啊", std::nullopt}}, ""}, // longer than any word: no path
        {seven, {{0, 6, "六個字的詞語", std::nullopt}}, "六個字的詞語|媽|"},
        // Ties keep the first listed word, as the last word and as a predecessor.
        {"ㄇㄚ", {}, "媽|"},
        {"ㄇㄚ ㄇㄚ", {}, "媽|媽|"},
        {"ㄊㄞˊ ㄨㄢ", {}, "台灣|"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(text(decoder.walk(elementsOf(c.elements), c.pins)), c.walked) << c.elements;
    EXPECT_EQ(decoder.walk(elementsOf("ㄋㄧˇ ㄏㄠˇ"), {}),
              (std::vector<DecodedSegment>{{0, 2, "你好", "ㄋㄧˇ-ㄏㄠˇ"}}));
    EXPECT_EQ(decoder.walk(elementsOf("ㄋㄧˇ '3"), {})[1], (DecodedSegment{1, 1, "3", std::nullopt}));
    decoder.candidateDepth = 1;
    EXPECT_EQ(text(decoder.walk(readings({"ㄨㄢ", "ㄇㄚ"}), {})), "灣|媽|");
}

TEST_F(SentenceDecoderTest, CandidateDepthLimitsTheWordsInTheWalk) {
    FunctionModel model;
    model.scoreBonus = [](std::string_view, std::string_view value) { return value == "麻" ? 3.0 : 0.0; };
    EXPECT_EQ(text(decoder.walk(readings({"ㄇㄚ"}), {}, &model)), "麻|");
    decoder.candidateDepth = 2; // 麻 ranks first only after its bonus; depth applies to the ranked list
    EXPECT_EQ(text(decoder.walk(readings({"ㄇㄚ"}), {}, &model)), "麻|");
    decoder.candidateDepth = 0; // treated as 1
    EXPECT_EQ(text(decoder.walk(readings({"ㄇㄚ"}), {})), "媽|");
}

TEST_F(SentenceDecoderTest, ScoreBonusReranksAndTransitionBonusLinksWords) {
    auto elements = readings({"ㄋㄧˇ", "ㄏㄠˇ"});
    FunctionModel model;
    model.scoreBonus = [](std::string_view reading, std::string_view value) {
        return reading == "ㄏㄠˇ" && value == "號" ? 2 * std::log(4.0) : 0.0;
    };
    EXPECT_EQ(text(decoder.walk(elements, {}, &model)), "你好|");
    // 妳 號 committed, as a hundredth of what the user committed after 妳.
    model.transitions = [](std::string_view previous) -> LearnedModel::TransitionScorer {
        if (previous != "妳") return {};
        return [](std::string_view value) {
            return value == "號" ? LearnedModel::Transition{std::log(1000.0), 0.01}
                                 : LearnedModel::Transition{};
        };
    };
    EXPECT_EQ(text(decoder.walk(elements, {}, &model)), "妳|號|"); // 號 was chosen: the pair counts in full
    EXPECT_EQ(text(decoder.walk(elements, {})), "你好|");          // without the model, the dictionary alone
    decoder.transitionWeight = 0.5;
    EXPECT_EQ(text(decoder.walk(elements, {}, &model)), "你好|");
    decoder.transitionWeight = 4.0;
    model.scoreBonus = {}; // neither word chosen: the pair counts by the root of its share
    EXPECT_EQ(text(decoder.walk(elements, {}, &model)), "你好|");
    EXPECT_EQ(text(decoder.walk(elements, {{0, 1, "妳", "ㄋㄧˇ"}}, &model)), "妳|號|"); // a pin is chosen
}

// A character chosen over its homophones counts in full typed alone, less inside a sentence.
TEST_F(SentenceDecoderTest, AOneSyllableChoiceCountsLessInsideASentence) {
    FunctionModel model;
    model.scoreBonus = [](std::string_view reading, std::string_view value) {
        return reading == "ㄏㄠˇ" && value == "號" ? 3.5 : 0.0;
    };
    EXPECT_EQ(text(decoder.walk(readings({"ㄏㄠˇ"}), {}, &model)), "號|");
    EXPECT_EQ(text(decoder.walk(readings({"ㄏㄠˇ", "ㄋㄧˇ"}), {}, &model)), "好|你|");
    EXPECT_EQ(decoder.candidateSegments(readings({"ㄏㄠˇ", "ㄋㄧˇ"}), 0, &model).front().value, "號");
}

TEST_F(SentenceDecoderTest, ExtraWordsJoinAndMergeByValue) {
    FunctionModel model;
    model.extra = [](std::string_view reading) {
        if (reading == "ㄇㄚ") return std::vector<Unigram>{{"馬", -8}, {"麻", -1}, {"馬", -7}};
        if (reading == "ㄋㄧˇ-ㄏㄠˇ-ㄇㄚ") return std::vector<Unigram>{{"你好嗎", -5}};
        return std::vector<Unigram>{};
    };
    auto values = [](const std::vector<DecodedSegment>& segments) {
        std::vector<std::string> result;
        for (const auto& s : segments)
            result.push_back(s.value);
        return result;
    };
    auto elements = readings({"ㄇㄚ"});
    EXPECT_EQ(values(decoder.candidateSegments(elements, 0, &model)),
              (std::vector<std::string>{"麻", "媽", "嗎", "馬"}));
    EXPECT_EQ(text(decoder.walk(readings({"ㄋㄧˇ", "ㄏㄠˇ", "ㄇㄚ"}), {}, &model)), "你好嗎|");
    EXPECT_EQ(values(decoder.candidateSegments(elements, 0)),
              (std::vector<std::string>{"媽", "嗎", "麻", "媽"}));
}

TEST_F(SentenceDecoderTest, CandidatesListLongestStretchesFirst) {
    auto elements = readings({"ㄋㄧˇ", "ㄏㄠˇ", "ㄇㄚ"});
    auto candidates = decoder.candidateSegments(elements, 0);
    ASSERT_EQ(candidates.size(), 3u);
    EXPECT_EQ(candidates[0], (DecodedSegment{0, 2, "你好", "ㄋㄧˇ-ㄏㄠˇ"}));
    EXPECT_EQ(candidates[1], (DecodedSegment{0, 1, "你", "ㄋㄧˇ"}));
    EXPECT_EQ(candidates[2], (DecodedSegment{0, 1, "妳", "ㄋㄧˇ"}));
    EXPECT_EQ(decoder.candidateSegments(elements, 2).size(), 4u);
    EXPECT_TRUE(decoder.candidateSegments(elements, 3).empty());
    EXPECT_TRUE(decoder.candidateSegments(elements, -1).empty());
    EXPECT_TRUE(decoder.candidateSegments(readings({"ㄅㄧㄤ"}), 0).empty());
    const auto withLiteral = elementsOf("ㄋㄧˇ '3 ㄏㄠˇ"); // no candidate for a literal, none across one
    EXPECT_TRUE(decoder.candidateSegments(withLiteral, 1).empty());
    EXPECT_EQ(decoder.candidateSegments(withLiteral, 0).front(), (DecodedSegment{0, 1, "你", "ㄋㄧˇ"}));
}

// A decoder takes up what its last walk worked out; whatever changed in between, it answers as a
// decoder that never walked before.
TEST_F(SentenceDecoderTest, AWalkAfterAnyChangeAnswersAsAFreshOne) {
    const char* const syllables[] = {"ㄋㄧˇ", "ㄏㄠˇ", "ㄇㄚ", "ㄊㄞˊ", "ㄨㄢ", "ㄅㄧㄤ"};
    FunctionModel counted, untold; // habits that tell when they change, and habits that cannot
    std::uint64_t version = 1;
    counted.version = version;
    // Enough for 妳 over 你 typed alone, not inside a sentence.
    auto habitsFavouring = [](std::string value) {
        return [value](std::string_view, std::string_view word) { return word == value ? 2.5 : 0.0; };
    };
    std::vector<Element> elements;
    std::vector<DecodedSegment> pins;
    const LearnedModel* learned = nullptr;
    std::mt19937 random(11);
    for (int step = 0; step < 3000; ++step) {
        const auto at = [&] {
            return static_cast<int>(random() % std::max<std::size_t>(elements.size(), 1));
        };
        switch (random() % 11) {
        case 0:
            if (!elements.empty()) elements.pop_back();
            break;
        case 1:
            if (!elements.empty())
                elements[static_cast<std::size_t>(at())] = Element::reading(syllables[random() % 6]);
            break;
        case 2:
            elements.push_back(Element::literal(random() % 2 ? "3" : "a"));
            break;
        case 3:
            pins.clear();
            if (!elements.empty() && random() % 2) pins.push_back({at(), 1, "釘", std::nullopt});
            break;
        case 4:
            learned = std::array<const LearnedModel*, 3>{nullptr, &counted, &untold}[random() % 3];
            break;
        case 5: // the habits change: the counted ones say so
            counted.scoreBonus = habitsFavouring(random() % 2 ? "嗎" : "妳");
            counted.version = ++version;
            untold.scoreBonus = habitsFavouring(random() % 2 ? "彎" : "號");
            break;
        case 6:
            decoder.transitionWeight = random() % 2 ? 4.0 : 0.5;
            break;
        case 7: // a word alone, then in a sentence
            elements.resize(std::min<std::size_t>(elements.size(), 1));
            break;
        default:
            elements.push_back(Element::reading(syllables[random() % 6]));
        }
        if (elements.size() > 12) elements.erase(elements.begin());
        std::erase_if(
            pins, [&](const DecodedSegment& pin) { return pin.end() > static_cast<int>(elements.size()); });
        SentenceDecoder fresh(lexicon);
        fresh.transitionWeight = decoder.transitionWeight;
        const auto walked = decoder.walk(elements, pins, learned),
                   expected = fresh.walk(elements, pins, learned);
        ASSERT_EQ(walked, expected) << "step " << step << ": " << text(walked) << " instead of "
                                    << text(expected);
    }
}
