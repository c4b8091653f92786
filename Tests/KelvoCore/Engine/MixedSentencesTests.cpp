// Whole sentences of Chinese mixed with English, numbers, units, addresses and punctuation, typed
// key by key as a user types them.
#include "BundledEngineSupport.hpp"

using namespace kelvo;
using namespace kelvo::testing;

TEST_F(BundledEngineTest, MixedSentencesCommitAsMeant) {
    const std::pair<const char*, const char*> sentences[] = {
        {"{ㄨㄛˇ}{ㄩㄥˋ}github {ㄍㄨㄢˇ}{ㄌㄧˇ}{ㄔㄥˊ}{ㄕˋ}{ㄇㄚˇ}", "我用 GitHub 管理程式碼"},
        {"{ㄐㄧㄣ}{ㄊㄧㄢ}{ㄒㄧㄚˋ}{ㄨˇ}{ㄙㄢ}{ㄉㄧㄢˇ}{ㄎㄞ}{ㄏㄨㄟˋ}", "今天下午三點開會"},
        {"{ㄑㄧㄥˇ}{ㄩㄥˋ}email {ㄏㄨㄟˊ}{ㄈㄨˋ}{ㄨㄛˇ}", "請用 email 回覆我"},
        {"{ㄓㄜˋ}{ㄍㄜ˙}{ㄒㄧㄤ}{ㄗ˙}{ㄧㄡˇ} 2kg", "這個箱子有 2kg"},
        {"{ㄨㄛˇ}{ㄇㄣ˙}{ㄗㄞˋ}google.com {ㄙㄡ}{ㄒㄩㄣˊ}", "我們在 google.com 搜尋"},
        {"{ㄅㄢˇ}{ㄅㄣˇ} 2.0 {ㄧˇ}{ㄐㄧㄥ}{ㄈㄚ}{ㄅㄨˋ}", "版本 2.0 已經發布"},
        {"thankyou {ㄋㄧˇ}{ㄉㄜ˙}{ㄅㄤ}{ㄇㄤˊ}", "thank you 你的幫忙"},
        {"{ㄇㄧㄥˊ}{ㄊㄧㄢ}{ㄧㄠˋ}review {ㄓㄜˋ}{ㄍㄜ˙}api", "明天要 review 這個 API"},
        {"{ㄧㄡˇ}500mah {ㄉㄜ˙}{ㄉㄧㄢˋ}{ㄔˊ}", "有 500mah 的電池"},
        {"{ㄋㄧˇ}{ㄏㄠˇ}<{ㄏㄣˇ}{ㄍㄠ}{ㄒㄧㄥˋ}{ㄖㄣˋ}{ㄕˋ}{ㄋㄧˇ}>", "你好，很高興認識你。"},
        {"{ㄨㄛˇ}{ㄒㄧˇ}{ㄏㄨㄢ}swift {ㄏㄜˊ}sql", "我喜歡 swift 和 SQL"},
        {"{ㄑㄧㄥˇ}{ㄉㄚˇ}{ㄎㄞ}https://example.org", "請打開 https://example.org"},
        {"{ㄨㄛˇ}{ㄇㄟˇ}{ㄊㄧㄢ}{ㄆㄠˇ}5km", "我每天跑 5km"},
        {"hello world {ㄕˋ}{ㄉㄧˋ}{ㄧ}{ㄍㄜ˙}{ㄔㄥˊ}{ㄕˋ}", "hello world 是第一個程式"},
        {"{ㄊㄚ}{ㄕㄨㄛ} if i can {ㄐㄧㄡˋ}{ㄏㄠˇ}", "他說 if i can 就好"},
        {"{ㄐㄧㄣ}{ㄋㄧㄢˊ}{ㄕˋ}2025 {ㄋㄧㄢˊ}", "今年是 2025 年"},
        {"{ㄑㄧㄥˇ}{ㄩㄥˋ}gmail {ㄌㄧㄢˊ}{ㄌㄨㄛˋ}{ㄨㄛˇ}{ㄇㄣ˙}", "請用 gmail 聯絡我們"},
        {"{ㄉㄚˋ}{ㄐㄧㄚ}{ㄏㄠˇ}>", "大家好。"},
        {"{ㄓㄜˋ}{ㄕˋ}{ㄨㄛˇ}{ㄉㄜ˙}code", "這是我的 code"},
        {"{ㄓㄜˋ}{ㄍㄜ˙}{ㄨㄣˋ}{ㄊㄧˊ}{ㄒㄩ}{ㄧㄠˋ} 10{tab} {ㄈㄣ}{ㄓㄨㄥ}", "這個問題需要 10 分鐘"},
        {"{ㄨㄛˇ}{ㄇㄣ˙}{ㄩㄥˋ}aws {ㄉㄜ˙}{ㄈㄨˊ}{ㄨˋ}", "我們用 AWS 的服務"},
        {"github2k7{ㄨㄤˇ}{ㄓㄢˋ}", "GitHub 的網站"},
        {"{ㄊㄚ}{ㄗㄞˋ}macos {ㄕㄤˋ}{ㄎㄞ}{ㄈㄚ}", "他在 macOS 上開發"},
        {"{ㄨㄛˇ}{ㄉㄜ˙}{ㄓㄨㄥ}{ㄨㄣˊ}{ㄏㄣˇ}{ㄏㄠˇ}[{ㄓㄣ}{ㄉㄜ˙}]", "我的中文很好「真的」"},
        {"{ㄨㄛˇ}{ㄇㄞˇ}{ㄌㄜ˙}{ㄙㄢ}{ㄍㄜ˙}{ㄆㄧㄥˊ}{ㄍㄨㄛˇ}{enter}", "我買了三個蘋果"},
    };
    for (const auto& [script, expected] : sentences) {
        EXPECT_EQ(typeScript(script), expected) << script;
    }
}

// Digits typed straight before or after syllables, as written: 1 2 5 8 9 0 are also Zhuyin keys and
// 3 4 6 7 tones, and the digits still come out as the number they were.
TEST_F(BundledEngineTest, NumbersInsideChineseKeepTheirDigits) {
    const std::pair<const char*, std::vector<std::pair<const char*, const char*>>> groups[] = {
        {"a unit word after the number",
         {{"2024{ㄋㄧㄢˊ}", "2024 年"},
          {"100{ㄩㄢˊ}", "100 元"},
          {"36{ㄍㄜ˙}", "36 個"},
          {"10{ㄈㄣ}{ㄓㄨㄥ}", "10 分鐘"},
          {"1{ㄒㄧㄠˇ}{ㄕˊ}", "1 小時"},
          {"1048576{ㄨㄟˋ}{ㄩㄢˊ}{ㄗㄨˇ}", "1048576 位元組"},
          {"0{ㄕㄥ}{ㄉㄠˋ}", "0 聲道"}}}, // ㄕ is no unit g here
        {"a word before the number, chosen with it",
         {{"{ㄉㄠˋ}{ㄓㄨㄢˇ}5{ㄇㄧㄠˇ}", "倒轉 5 秒"},
          {"{ㄑㄩˋ}1{ㄈㄣ}", "去 1 分"},
          {"{ㄕˋ}{ㄨㄟˊ}0{ㄓˊ}{ㄏㄨㄛˋ}", "視為 0 值或"}, // a longer number seldom starts with 0
          {"{ㄉㄧˋ}2{ㄍㄜ˙}", "第 2 個"}}},
        {"digits that end an English word", {{"magic8{ㄙㄨㄣˇ}{ㄏㄨㄞˋ}", "magic8 損壞"}}},
        {"a number before English", {{"{ㄩㄥˋ}2 cpu", "用 2 cpu"}}},
        {"decimals and units",
         {{"3.14{ㄋㄧˇ}", "3.14 你"},
          {"35mm{ㄖㄨㄢˇ}{ㄆㄧㄢˋ}", "35mm 軟片"},
          {"{ㄧㄡˇ}12m", "有 12m"},
          {"version2.3 ", "version2.3 "}, // a dot then a digit: no tone
          {"mail example.com ", "mail example.com "},
          {"{ㄏㄨㄢˊ}{ㄖㄠˋ} 7.1", "環繞 7.1"}}},
        {"a digit key at the end of the text",
         {{"{ㄈㄨˋ}{ㄅㄣˇ}2", "副本 2"}, {"{ㄕㄨˋ}{ㄓˊ}{ㄕˋ}0", "數值是 0"}}},
        {"digits that spell Chinese stay Chinese, finals after them too",
         {{"{ㄅㄢˋ}{ㄈㄚˇ}", "辦法"}, {"{ㄓˇ}{ㄋㄥˊ}", "只能"}, {"{ㄓˋ}{ㄉㄤˇ}", "至檔"}}},
        {"digits before separators that cannot spell the syllable",
         {{"12/25 ", "12/25 "}, {"2025/10/20", "2025/10/20"}, {"10;", "10;"}, {"{ㄓˋ}{ㄕㄤˋ}", "至上"}}},
        {"a number typed anywhere in the composition",
         {{"{ㄋㄧˇ}{left}12", "12 你"}, {"{ㄋㄧˇ}{ㄏㄠˇ}{left}{left}2025", "2025 你好"}}},
        {"a Space after digits, the tone of a syllable their last digit began",
         {{"{ㄉㄠˋ}255{ㄓ}{ㄐㄧㄢ}", "到 255 之間"}, {"2{ㄓ}{ㄐㄧㄢ}", "2 之間"}, {"105 {ㄏㄠˋ}", "105 號"}}},
    };
    for (const auto& [group, cases] : groups)
        for (const auto& [script, expected] : cases)
            EXPECT_EQ(typeScript(script), expected) << group << ": " << script;
}

// A word chosen from the list stays while English, numbers and syllables are typed around it.
TEST_F(BundledEngineTest, AChosenWordStaysAcrossEnglishAndNumbersTypedAfterIt) {
    struct Case {
        const char *before, *chosen, *after, *expected;
    };
    const Case cases[] = {
        {"{ㄨㄛˇ}{ㄩㄥˋ}", "佣", "github {ㄍㄨㄢˇ}{ㄌㄧˇ}", "我佣 GitHub 管理"},
        {"github {ㄉㄜ˙}", "得", "2{ㄍㄜ˙}", "GitHub 得 2 個"},
        {"2024{ㄋㄧㄢˊ}", "黏", "{ㄉㄜ˙}python3 ", "2024 黏的 python3 "},
        {"{ㄧㄡˇ}12kg{ㄉㄜ˙}", "得", "{ㄒㄧㄤ}{ㄗ˙}", "有 12kg 得箱子"},
    };
    for (const Case& c : cases) {
        type(c.before);
        pick(c.chosen);
        type(c.after);
        EXPECT_EQ(engine.flush().value_or(""), c.expected) << c.before << " " << c.chosen << " " << c.after;
    }
}

// The arrows move back past a word or number still being typed, as shown, to correct what is before
// it; a syllable under way keeps the cursor.
TEST_F(BundledEngineTest, TheArrowsMoveBackPastEnglishAndNumbersToTheWordBefore) {
    const std::tuple<const char*, int, const char*, const char*> cases[] = {
        {"{ㄧˇ}{ㄑㄩˇ}{ㄉㄜˊ}eof", 5, "已", "已取得 eof"},
        {"{ㄏㄨㄢˊ}{ㄖㄠˋ}{ㄕㄥ}7.1", 3, "聲", "環繞聲 7.1"},
    };
    for (const auto& [script, lefts, chosen, expected] : cases) {
        type(script);
        for (int i = 0; i < lefts; ++i)
            engine.handle(KeyInput::of(Kind::arrowLeft));
        pick(chosen);
        EXPECT_EQ(engine.flush().value_or(""), expected) << script;
    }
    EXPECT_EQ(type("{ㄧˇ}su{left}"), "以ㄋㄧ");
    EXPECT_EQ(engine.preedit().caretUTF16, 3);
}
