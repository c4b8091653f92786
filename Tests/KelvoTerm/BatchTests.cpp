#include "../Support/TemporaryFolder.hpp"
#include "Batch.hpp"
#include "Screen.hpp"

#include <gtest/gtest.h>
#include <sstream>

using namespace kelvo;
using namespace kelvo::term;

namespace {

const SharedResources& resources() {
    static const TermSettings settings;
    static const SharedResources loaded = SharedResources::load(settings, std::nullopt);
    return loaded;
}

std::pair<std::string, int> batch(const std::string& input, const TermSettings& settings = {}) {
    std::istringstream in(input);
    std::ostringstream out, errors;
    int status = runBatch(in, out, errors, resources(), settings);
    return {out.str() + errors.str(), status};
}

} // namespace

TEST(Arguments, FlagsSetTheSettingsAndMalformedOnesAreRefused) {
    const auto invocation =
        parseArguments({"batch", "--page-size", "7", "--spaces", "en-num", "--no-learning"});
    ASSERT_EQ(invocation.error, "");
    EXPECT_TRUE(invocation.batch);
    const EngineSettings engine = engineSettings(invocation.settings.stored());
    EXPECT_EQ(engine.pageSize, 7);
    EXPECT_FALSE(engine.learning || engine.formatting.chineseEnglishSpace ||
                 engine.formatting.chineseNumberSpace);
    EXPECT_TRUE(engine.formatting.englishNumberSpace);
    for (const std::vector<std::string>& wrong : {std::vector<std::string>{"--punctuation", "Smart"},
                                                  {"--spaces", "cn-en,xx"},
                                                  {"--page-size"},
                                                  {"--bogus"}})
        EXPECT_NE(parseArguments(wrong).error, "") << wrong[0];
}

TEST(Batch, TypesEachLineIntoAFreshFieldAndTimesEveryKey) {
    auto [output, status] = batch("su3cl3{enter}\ngithub \n=x\nsu3=\n\n2025 \n");
    EXPECT_EQ(status, 0);
    EXPECT_EQ(output, "你好\ngithub \n=ㄌ\n你=\n\n2025 \n"); // a lone x stays the letter ㄌ
    TermSettings timed;
    timed.timing = true;
    EXPECT_NE(batch("su3cl3\nab\n", timed).first.find("keys=8 mean_us="), std::string::npos);
}

TEST(Batch, MalformedLinesAreReportedAndSkipped) {
    auto [output, status] = batch("{nope}\nsu3\n{enter\n");
    EXPECT_EQ(status, 1);
    EXPECT_EQ(
        output,
        "\n你\n\nkelvo-term: line 1: unknown key {nope}\nkelvo-term: line 3: unclosed { at character 1\n");
}

TEST(Batch, LearnedDataIsKeptInTheNamedFolder) {
    kelvo::testing::TemporaryFolder folder;
    TermSettings settings;
    SharedResources withData = SharedResources::load(settings, folder.root());
    std::istringstream in("w96j0 {down}{enter}{enter}\n");
    std::ostringstream out, errors;
    EXPECT_EQ(runBatch(in, out, errors, withData, settings), 0);
    EXPECT_TRUE(std::filesystem::exists(folder / "Kelvo/userphrases.json"));

    // A save that fails as the program ends is an error, and promises no retry.
    std::istringstream again("w96j0 {down}2{enter}{enter}\n");
    std::ostringstream out2, errors2;
    {
        kelvo::testing::FileSizeLimit limit(8);
        EXPECT_EQ(runBatch(again, out2, errors2, withData, settings), 1);
    }
    EXPECT_NE(errors2.str().find("沒有儲存"), std::string::npos) << errors2.str();
    EXPECT_EQ(errors2.str().find("會再試"), std::string::npos) << errors2.str();
}

TEST(Screen, ShowsStylesCaretCandidatesAndFeedback) {
    InputEngine engine(resources().lexicon);
    for (char key : std::string("su3cl3"))
        engine.handle(KeyInput::typed(std::string(1, key)));
    engine.handle(KeyInput::of(KeyInput::Kind::arrowDown));
    std::string screen = renderScreen(screenStateOf(engine, "早安", true));
    EXPECT_NE(screen.find("早安"), std::string::npos);
    EXPECT_NE(screen.find("\x1b[7m你好\x1b[0m"), std::string::npos); // the active word
    EXPECT_NE(screen.find("1.你好"), std::string::npos);             // the strip
    EXPECT_NE(screen.find("ㄋㄧˇ ㄏㄠˇ"), std::string::npos);        // the feedback
    std::string english = renderScreen(screenStateOf(engine, "", false));
    EXPECT_NE(english.find("Kelvo 英"), std::string::npos);
}
