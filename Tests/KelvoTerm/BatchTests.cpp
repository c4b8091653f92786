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

TEST(Arguments, FlagsSetTheSettings) {
    auto invocation =
        parseArguments({"batch", "--page-size", "7", "--punctuation", "chinese", "--no-english-hint",
                        "--no-automatic-english", "--no-learning", "--custom-text", "--spaces", "en-num",
                        "--user-data", "/tmp/x", "--timing"});
    ASSERT_EQ(invocation.error, "");
    EXPECT_TRUE(invocation.batch);
    const TermSettings& s = invocation.settings;
    const EngineSettings engine = engineSettings(s.stored());
    EXPECT_EQ(engine.pageSize, 7);
    EXPECT_EQ(engine.formatting.punctuationMode, PunctuationMode::chinese);
    EXPECT_FALSE(engine.englishHint || engine.automaticEnglish || engine.learning ||
                 engine.formatting.chineseEnglishSpace || engine.formatting.chineseNumberSpace);
    EXPECT_TRUE(engine.customText && engine.formatting.englishNumberSpace && s.timing);
    EXPECT_EQ(engineSettings(parseArguments({"--page-size", "2147483647"}).settings.stored()).pageSize, 100);
    EXPECT_EQ(s.userData, std::filesystem::path("/tmp/x"));
    EXPECT_FALSE(parseArguments({}).batch);
    EXPECT_NE(parseArguments({"--punctuation", "Smart"}).error, "");
    EXPECT_NE(parseArguments({"--spaces", "cn-en,xx"}).error, "");
    EXPECT_NE(parseArguments({"--page-size"}).error, "");
    EXPECT_NE(parseArguments({"--bogus"}).error, "");
    EXPECT_FALSE(booleanSetting(parseArguments({"--spaces", "none"}).settings.stored(),
                                SettingKey::chineseEnglishSpace));
}

TEST(Batch, TypesEachLineIntoAFreshField) {
    auto [output, status] = batch("su3cl3{enter}\ngithub \n=x\nsu3=\n\n2025 \n");
    EXPECT_EQ(status, 0);
    EXPECT_EQ(output, "你好\ngithub \n=ㄌ\n你=\n\n2025 \n"); // a lone x stays the letter ㄌ
}

TEST(Batch, MalformedLinesAreReportedAndSkipped) {
    auto [output, status] = batch("{nope}\nsu3\n{enter\n");
    EXPECT_EQ(status, 1);
    EXPECT_EQ(
        output,
        "\n你\n\nkelvo-term: line 1: unknown key {nope}\nkelvo-term: line 3: unclosed { at character 1\n");
}

TEST(Batch, TimingSumsUpEveryKey) {
    TermSettings settings;
    settings.timing = true;
    auto [output, status] = batch("su3cl3\nab\n", settings);
    EXPECT_EQ(status, 0);
    EXPECT_NE(output.find("keys=8 mean_us="), std::string::npos) << output;
    EXPECT_NE(output.find(" p99_us="), std::string::npos);
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
