#include "Engine/KeyScript.hpp"
#include "TerminalInput.hpp"
#include "TextField.hpp"

#include <gtest/gtest.h>

using namespace kelvo;
using namespace kelvo::term;
using Kind = KeyInput::Kind;

// The named keys are typed by every engine table; here, what a character alone may mean.
TEST(KeyScript, CapitalsAreEnglishAndBracesAreTyped) {
    EXPECT_EQ(std::get<std::vector<KeyInput>>(parseKeyScript("aB {{}{hold:x}")),
              (std::vector<KeyInput>{KeyInput::typed("a"), KeyInput::english("B"), KeyInput::of(Kind::space),
                                     KeyInput::typed("{"), KeyInput::typed("}"), KeyInput::repeated("x")}));
    EXPECT_TRUE(std::get<std::vector<KeyInput>>(parseKeyScript("")).empty());
}

TEST(KeyScript, MalformedScriptsSayWhatIsWrong) {
    EXPECT_EQ(std::get<std::string>(parseKeyScript("ab{enter")), "unclosed { at character 3");
    EXPECT_EQ(std::get<std::string>(parseKeyScript("{return}")), "unknown key {return}");
    EXPECT_EQ(std::get<std::string>(parseKeyScript("{hold:}")), "unknown key {hold:}");
    EXPECT_EQ(std::get<std::string>(parseKeyScript("a\tb")), "character 2 is not printable ASCII");
}

TEST(TextField, TakesCommitsAndPassedOnKeys) {
    TextField field;
    field.receive(KeyInput::typed("="), InputEngine::Output{false, "你好"});
    field.receive(KeyInput::of(Kind::space), InputEngine::Output{});
    field.receive(KeyInput::of(Kind::enter), InputEngine::Output{});
    field.receive(KeyInput::typed("x"), InputEngine::Output{true, std::nullopt});
    EXPECT_EQ(field.text(), "你好= ");
    field.receive(KeyInput::of(Kind::backspace), InputEngine::Output{});
    field.receive(KeyInput::of(Kind::backspace), InputEngine::Output{});
    EXPECT_EQ(field.text(), "你好");
    field.deleteBackward();
    field.deleteBackward();
    field.deleteBackward();
    EXPECT_EQ(field.text(), "");

    TextField lines(/*multiline=*/true);
    lines.receive(KeyInput::of(Kind::enter), InputEngine::Output{});
    EXPECT_EQ(lines.text(), "\n");
    EXPECT_EQ(escapedLine("a\\b\nc"), "a\\\\b\\nc");
}

// The keys' own sequences are what every terminal sends; what matters is what else arrives.
TEST(TerminalInput, DecodesKeysAndSkipsWhatItDoesNotUse) {
    using Event = TerminalEvent;
    auto key = [](KeyInput input) { return Event{Event::Kind::key, std::move(input)}; };
    EXPECT_EQ(decodeTerminalInput("aZ\x1b[A\x1bOB\x1b"),
              (std::vector<Event>{key(KeyInput::typed("a")), key(KeyInput::english("Z")),
                                  key(KeyInput::of(Kind::arrowUp)), key(KeyInput::of(Kind::arrowDown)),
                                  key(KeyInput::of(Kind::escape))}));
    EXPECT_EQ(decodeTerminalInput("\x1bOQ\x04"),
              (std::vector<Event>{Event{Event::Kind::toggleMode, {}}, Event{Event::Kind::quit, {}}}));
    // Sequences this program does not use are skipped whole; non-ASCII bytes are ignored.
    EXPECT_EQ(decodeTerminalInput("\x1b[15~x\xe4\xbd\xa0"), (std::vector<Event>{key(KeyInput::typed("x"))}));
}
