#include "Formatting/PreferredTerms.hpp"

#include <gtest/gtest.h>

using namespace kelvo;

TEST(PreferredTerms, ReplacesWholeLowerCaseTokensOnly) {
    EXPECT_EQ(PreferredTerms::apply("use api and github on macos", {}, {}), "use API and GitHub on macOS");
    EXPECT_EQ(PreferredTerms::apply("GitHub Api", {}, {}), "GitHub Api");
    EXPECT_EQ(PreferredTerms::apply("github.com apis", {}, {}), "github.com apis");
    EXPECT_EQ(PreferredTerms::apply("中文api中文", {}, {}), "中文API中文");
    EXPECT_EQ(PreferredTerms::apply("𠀀api", {}, {}), "𠀀API");
}

TEST(PreferredTerms, PreservedRangesAndOverrides) {
    EXPECT_EQ(PreferredTerms::apply("api api", {}, {{0, 3}}), "api API");
    EXPECT_EQ(PreferredTerms::apply("api api", {}, {{2, 5}}), "api api"); // overlaps both tokens
    EXPECT_EQ(PreferredTerms::apply("api api", {}, {{3, 3}}), "API API"); // an empty range protects nothing
    EXPECT_EQ(PreferredTerms::apply("github kelvo", {{"github", "Github"}, {"kelvo", "Kelvo"}}, {}),
              "Github Kelvo");
}

TEST(PreferredTerms, ParsesTermLines) {
    auto terms = PreferredTerms::parse("  Kelvo = Kelvo \r\n\n github\t=\tGithub\u2028api=API\rapi=Api");
    EXPECT_EQ(terms, (PreferredTerms::Terms{{"kelvo", "Kelvo"}, {"github", "Github"}, {"api", "Api"}}));
    EXPECT_TRUE(PreferredTerms::parse("").empty());
    EXPECT_EQ(PreferredTerms::parse("=a=A"), (PreferredTerms::Terms{{"a", "A"}}));
}

TEST(PreferredTerms, RejectsBadLinesCarryingThemAsWritten) {
    std::string longSide(65, 'a');
    for (std::string bad :
         std::vector<std::string>{"api", "api=", "=API", " = API", longSide + "=" + longSide, "a b=A B",
                                  "a-b=A-B", "api=APP", "api==API"}) {
        try {
            PreferredTerms::parse("ok=OK\n" + bad + "\nfine=Fine");
            ADD_FAILURE() << "accepted: " << bad;
        } catch (const PreferredTerms::ParseError& error) {
            EXPECT_EQ(error.line, bad);
            EXPECT_EQ(error.kind, PreferredTerms::ParseError::Kind::invalidLine);
        }
    }
    std::string longest(64, 'a');
    EXPECT_EQ(PreferredTerms::parse(longest + "=" + longest).size(), 1u);
}
