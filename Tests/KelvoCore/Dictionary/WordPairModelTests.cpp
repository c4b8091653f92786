#include "../../Support/TemporaryFolder.hpp"
#include "../Engine/EngineTestSupport.hpp"
#include "Dictionary/SentenceDecoder.hpp"
#include "Dictionary/WordPairModel.hpp"

#include <cstring>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace kelvo;
using kelvo::testing::TemporaryFolder;

namespace {

struct Pair {
    std::uint32_t previous, following;
    float figure;
};

void put(std::string& bytes, std::uint32_t value) {
    bytes.append(reinterpret_cast<const char*>(&value), 4);
}
void putFloat(std::string& bytes, float value) {
    bytes.append(reinterpret_cast<const char*>(&value), 4);
}

std::uint32_t fnv1a(std::string_view text) {
    std::uint32_t value = 0x811C9DC5u;
    for (unsigned char byte : text)
        value = (value ^ byte) * 0x01000193u;
    return value;
}

// A word-pair file of sorted `words` (each with the figure for any other word after it) and `pairs`
// (sorted by previous, then following), as the dictionary builder writes one.
std::string modelBytes(const std::vector<std::pair<std::string, float>>& words,
                       const std::vector<Pair>& pairs) {
    std::uint32_t slots = 1;
    while (slots < 2 * words.size())
        slots *= 2;
    std::string header = "KELVOBG2", rows, pairRows, strings;
    std::vector<std::uint32_t> table(slots, 0);
    std::uint32_t pairEnd = 0;
    for (std::uint32_t i = 0; i < words.size(); ++i) {
        for (const Pair& pair : pairs)
            if (pair.previous == i) {
                put(pairRows, pair.following);
                putFloat(pairRows, pair.figure);
                ++pairEnd;
            }
        put(rows, static_cast<std::uint32_t>(strings.size()));
        put(rows, static_cast<std::uint32_t>(words[i].first.size()));
        put(rows, pairEnd);
        putFloat(rows, words[i].second);
        strings += words[i].first;
        std::uint32_t slot = fnv1a(words[i].first) & (slots - 1);
        while (table[slot])
            slot = (slot + 1) & (slots - 1);
        table[slot] = i + 1;
    }
    strings.append((4 - strings.size() % 4) % 4, '\0');
    put(header, static_cast<std::uint32_t>(words.size()));
    put(header, pairEnd);
    put(header, slots);
    put(header, static_cast<std::uint32_t>(strings.size()));
    putFloat(header, -0.25f); // after a word the model lacks
    std::string slotRows;
    for (std::uint32_t entry : table)
        put(slotRows, entry);
    return header + rows + pairRows + slotRows + strings;
}

// 他 0, 她 1, 媽媽 2: after 媽媽 her is far likelier than him.
const std::string small =
    modelBytes({{"他", -0.5f}, {"她", -0.5f}, {"媽媽", -0.3f}}, {{2, 0, -1.0f}, {2, 1, 2.0f}});

} // namespace

TEST(WordPairModel, TellsWhatTheWordBeforeAdds) {
    auto model = WordPairModel::fromBytes(small);
    const auto mama = model->word("媽媽"), her = model->word("她");
    ASSERT_TRUE(mama && her);
    EXPECT_FALSE(model->word("你"));
    EXPECT_FLOAT_EQ(model->contextAfter(*mama, her), 2.0);
    EXPECT_FLOAT_EQ(model->contextAfter(*mama, model->word("他")), -1.0);
    EXPECT_FLOAT_EQ(model->contextAfter(*mama, std::nullopt), -0.3); // a word it lacks
    EXPECT_FLOAT_EQ(model->contextAfter(*her, mama), -0.5);          // a pair it lacks
    EXPECT_EQ(model->contextAfter(99, her), 0.0);
    EXPECT_FLOAT_EQ(model->contextAfter(std::nullopt, her), -0.25); // as a pair never seen

    // The decoder takes the word the context prefers, and without the model the likelier word.
    SentenceDecoder decoder(std::make_shared<const Lexicon>(kelvo::testing::smallLexicon));
    const std::vector<Element> elements{Element::reading("ㄇㄚ"), Element::reading("ㄇㄚ"),
                                        Element::reading("ㄊㄚ")};
    EXPECT_EQ(decoder.walk(elements, {}).back().value, "他");
    decoder.wordPairs = model;
    EXPECT_EQ(decoder.walk(elements, {}).back().value, "她");
}

// A missing, short, foreign or special file is refused with its name; one whose rows point anywhere is read
// without leaving it (the sanitizers watch) and gives neutral figures.
TEST(WordPairModel, RefusesWhatIsNoModelAndNeverReadsOutsideOne) {
    TemporaryFolder folder;
    EXPECT_THROW(WordPairModel::open(folder / "missing.bin"), WordPairModelError);
    ASSERT_EQ(::mkfifo((folder / "fifo.bin").c_str(), 0600), 0);
    EXPECT_THROW(WordPairModel::open(folder / "fifo.bin"), WordPairModelError); // and does not wait
    std::string truncated = small.substr(0, small.size() - 4);
    std::string foreign = small;
    foreign[0] = 'X';
    std::string crowded = small;
    crowded[16] = 3; // slots no more than words
    for (const std::string& bytes : {std::string("KELVO"), truncated, foreign, crowded, small + "x"}) {
        folder.write("bad.bin", bytes);
        try {
            WordPairModel::open(folder / "bad.bin");
            ADD_FAILURE() << "accepted " << bytes.size() << " bytes";
        } catch (const WordPairModelError& error) {
            EXPECT_NE(std::string(error.what()).find("bad.bin"), std::string::npos) << error.what();
        }
    }
    // Rows that point beyond their sections, and a figure that is no number.
    std::string hostile = small;
    const std::size_t rows = 28;
    std::memset(hostile.data() + rows + 4, 0xff, 4);       // 他's text is far too long
    std::memset(hostile.data() + rows + 32 + 8, 0xff, 4);  // 媽媽's pairs end far beyond
    std::memset(hostile.data() + rows + 16 + 12, 0xff, 4); // 她's figure is NaN
    auto model = WordPairModel::fromBytes(hostile);
    EXPECT_FALSE(model->word("他"));
    EXPECT_EQ(model->contextAfter(1, 0), 0.0);
    EXPECT_FLOAT_EQ(model->contextAfter(2, 1), -0.3);
}
