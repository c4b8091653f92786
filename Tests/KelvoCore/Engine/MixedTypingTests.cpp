// English typed among Zhuyin without switching modes, read against the dictionary and the English
// vocabulary: which keys are English, where the Chinese after them starts, and what stays Chinese.
#include "BundledEngineSupport.hpp"
#include "Engine/KeyLattice.hpp"
#include "Engine/KeyRunScorer.hpp"

using namespace kelvo;
using namespace kelvo::testing;

namespace {

using Table = std::vector<std::pair<const char*, const char*>>;

} // namespace

TEST_F(BundledEngineTest, MixedTypingReadsEnglishAndZhuyinWhereTheyMeet) {
    const std::pair<const char*, Table> groups[] = {
        {"short English words that are also Zhuyin keys, before and after Chinese",
         {{"{ㄩㄥˋ}sudo{ㄓˊ}{ㄒㄧㄥˊ}", "用 sudo 執行"},
          {"{ㄩㄥˋ}git{ㄍㄨㄢˇ}{ㄌㄧˇ}", "用 git 管理"},
          {"{ㄖㄨˊ}{ㄍㄨㄛˇ}{ㄧㄡˇ}git{ㄉㄜ˙}{ㄏㄨㄚˋ}", "如果有 git 的話"},
          {"{ㄑㄧㄥˇ}{ㄩㄥˋ}json{ㄍㄜˊ}{ㄕˋ}", "請用 json 格式"},
          {"{ㄓㄜˋ}{ㄍㄜ˙}api{ㄏㄣˇ}{ㄏㄠˇ}", "這個 API 很好"},
          {"{ㄧㄥ}{ㄍㄞ}{ㄩㄥˋ}to{ㄌㄞˊ}", "應該用 to 來"},
          {"{ㄗㄞˋ}in{ㄌㄧˇ}{ㄇㄧㄢˋ}", "在 in 裡面"},
          {"you{ㄏㄠˇ}", "you 好"}}},
        {"where the Chinese after an English word starts",
         {{"{ㄉㄚˇ}{ㄎㄞ}gedit{ㄅㄧㄢ}{ㄐㄧˊ}", "打開 gedit 編輯"},
          {"gedit{ㄕˋ}{ㄨㄣˊ}{ㄗˋ}{ㄅㄧㄢ}{ㄐㄧˊ}{ㄑㄧˋ}", "gedit 是文字編輯器"},
          {"shellso4", "shell 內"},
          {"testsu3", "test 你"},
          {"readline2k7", "readline 的"},
          {"script53xu/4", "script 指令"}}},
        {"common first-tone syllables stay Chinese at Space",
         {{"{ㄕㄡˇ}{ㄐㄧ}", "手機"},
          {"{ㄌㄧㄤˋ}{ㄕㄣ}{ㄉㄚˇ}{ㄗㄠˋ}", "量身打造"},
          {"{ㄧㄣ}{ㄩㄝˋ}", "音樂"},
          {"{ㄋㄧˇ}{ㄏㄠˇ}", "你好"}}},
        {"words no list has, and letters that cannot be a syllable",
         {{"{ㄕˇ}{ㄩㄥˋ}autoremover{ㄑㄧㄥ}{ㄌㄧˇ}", "使用 autoremover 清理"},
          {"{ㄕˇ}{ㄩㄥˋ}gtksourceview{ㄧㄤˋ}{ㄕˋ}", "使用 gtksourceview 樣式"},
          {"libarchive{ㄑㄩㄝ}{ㄕㄠˇ}", "libarchive 缺少"},
          {"{ㄅㄨˋ}{ㄓㄥˋ}{ㄑㄩㄝˋ}{ㄉㄜ˙}uri", "不正確的 uri"},
          {"{ㄧˇ}{ㄑㄩˇ}{ㄉㄜˊ}eof", "以取得 eof"}}},
        {"a letter the keys after it would replace stays a letter",
         {{"{ㄅㄧㄥˋ}{ㄩㄥˋ}scji4enter", "並用 s 或 enter"},
          {"{ㄔㄨˊ}{ㄈㄟ}n1j4{ㄉㄚˋ}{ㄩˊ}", "除非 n 不大於"}}},
        {"the syllables after a word move where it ends",
         {{"vim5 m06", "vim 支援"},
          {"sshy xul4", "ssh 資料"},
          {"dockerjp6ru04", "docker 文件"},
          {"{ㄕˇ}{ㄩㄥˋ}bash5 m06", "使用 bash 支援"}}},
        {"the words the syllables after a letter make decide where English ends",
         {{"{ㄑㄩˇ}{ㄉㄜˊ}aru8 nji 2;3", "取得 ar 壓縮檔"}}},
        {"the word after English read in its context",
         {{"{ㄢˋ}{ㄒㄧㄚˋ}tab{ㄐㄧㄢˋ}{ㄏㄡˋ}", "按下 tab 鍵後"}}},
        {"versions stay with their word",
         {{"windows10 {ㄒㄧㄣ}{ㄅㄢˇ}", "windows10 新版"}, {"python3.10 {ㄅㄢˇ}{ㄅㄣˇ}", "python3.10 版本"}}},
        {"English the way it always worked",
         {{"howto{ㄨㄣˊ}{ㄐㄧㄢˋ}", "howto 文件"}, // a listed word is not split into common words
          {"kelvo{ㄋㄧˇ}", "kelvo 你"}}},
    };
    for (const auto& [group, table] : groups)
        for (const auto& [script, expected] : table)
            EXPECT_EQ(typeScript(script), expected) << group << ": " << script;
}

TEST_F(BundledEngineTest, KeysStillBeingTypedShowAsWhatTheyMostLikelyAre) {
    expectSeen(engine,
               {
                   {"gtk", "[gtk|]"},           // a listed word whose keys replaced a slot
                   {"libarch", "[libarch|]"},   // a word still being typed
                   {"su", "[ㄋㄧ|]"},           // letters that spell a syllable wait for the tone key
                   {"xmp", "[xmp|]"},           // ㄌㄩㄣ is no syllable the dictionary has
                   {"cjji", "[ㄏㄨㄛ|]"},       // a repeated medial is a typo in the syllable
                   {"us3cl3", "[你好|]"},       // so is a medial typed first
                   {"su3cl{enter}", "你 cl[]"}, // letters left without their tone are committed as typed
                   {"{ㄕㄡˇ}ru ", "[手機|]"},   // Space takes the syllables, not the list of "ru"
               });
}

namespace {

// The best path as its pieces: English and Space as typed, syllables as their readings.
std::string bestPathOf(const KeyLattice::Stretch& stretch) {
    static const KeyRunScorer scorer(*bundledLexicon(), *bundledVocabulary(),
                                     DachenKeyModel::of(bundledLexicon()).get(), nullptr, nullptr,
                                     bundledWordPairs().get());
    return kelvo::testing::bestPathOf(scorer, stretch);
}

} // namespace

TEST(KeyLattice, ReadsEveryKeyPositionAsEnglishNumberSyllableOrSpace) {
    struct Case {
        const char* keys;
        bool startsHeld, endsWithSyllable;
        const char* expected;
        bool openEnd = false;
    };
    const std::pair<const char*, std::vector<Case>> groups[] = {
        {"keys since the last element",
         {{"su3", false, false, "ㄋㄧˇ"},
          {"us3", false, false, "ㄋㄧˇ"}, // a medial typed first is still the syllable
          {"testsu3", false, false, "test|ㄋㄧˇ"},
          {"hello ", false, false, "hello| "},
          {"ru ", false, false, "ㄐㄧ"},
          {"windows10", false, false, "windows10"}}},
        {"a stretch that starts with English",
         {{"hello world ", true, false, "hello| |world| "},
          {"smarty xul4", true, false, "smart|ㄗ|ㄌㄧㄠˋ"},
          {"python3.10 ", true, false, "python3.10| "},
          {"gimp2.4", true, false, "gimp2.4"}, // digits with a dot are a version, not a syllable
          {"github2k7", true, false, "github|ㄉㄜ˙"}}},
        {"numbers",
         {{"3", true, false, "3"},
          {"36ek7", true, false, "36|ㄍㄜ˙"},        // held digits before a syllable
          {"3.14su3", true, false, "3.14|ㄋㄧˇ"},    // a decimal point, not the final ㄡ
          {"35mmbj03", true, false, "35mm|ㄖㄨㄢˇ"}, // a unit
          {"2ek7", false, false, "2|ㄍㄜ˙"},         // ㄍ replacing ㄉ: the digit was meant
          {"1vul3", false, false, "1|ㄒㄧㄠˇ"},
          {"2k7", false, false, "ㄉㄜ˙"},    // keys in order spell a syllable
          {"2025 ", false, false, "2025| "}, // Space after a number
          {"5 ", false, false, "ㄓ"},
          {"5jo4", false, false, "ㄓㄨㄟˋ"},   // the digit is the syllable's initial
          {"902j4", false, false, "90|ㄉㄨˋ"}, // 02j4 spells ㄉㄨㄢˋ, but backwards
          {"2024su06", true, false, "2024|ㄋㄧㄢˊ"}}},
        {"identifiers of letters and digits",
         {{"md5sumsdj/4", false, false, "md5sums|ㄎㄨㄥˋ"},
          {"bzip2u4", false, false, "bzip2|ㄧˋ"},
          {"sigusr1g4", false, false, "sigusr1|ㄕˋ"}}},
        {"unlisted letters before a syllable, against keys that replace two of its slots",
         {{"crchji4", false, false, "crc|ㄘㄨㄛˋ"},
          {"pspck6", false, false, "psp|ㄏㄜˊ"},
          {"fu6ru6", false, false, "ㄑㄧˊ|ㄐㄧˊ"}, // no key replaced: Chinese
          {"zfssu3", false, false, "zfs|ㄋㄧˇ"}}},
        {"a stretch whose last keys are a known syllable",
         {{"geditg4", true, true, "gedit|ㄕˋ"}, {"hello ", false, true, "hell|ㄟ"}}},
        {"keys still without their tone",
         {{"ru", false, false, "ㄐㄧˊ", true},
          {"no", false, false, "no", true},
          {"hello ru", true, false, "hello| |ㄐㄧˊ", true},
          {"su3ru", false, false, "ㄋㄧˇ|ru"}, // each syllable needs its tone key
          {"su3ru", false, false, "ㄋㄧˇ|ㄐㄧˊ", true}}},
    };
    for (const auto& [group, cases] : groups)
        for (const Case& c : cases)
            EXPECT_EQ(bestPathOf({c.keys, c.startsHeld, c.endsWithSyllable, std::nullopt, c.openEnd}),
                      c.expected)
                << group << ": " << c.keys;
}

// The names of installed programs are English words of the user's own too.
TEST_F(BundledEngineTest, TheNextSyllableMayReadTheKeysBeforeItAgainAsEnglish) {
    // A word of the user's own, less likely than 琴 alone (ㄑㄧㄣˊ with two replaced slots) but
    // likely enough before 其他: the syllable after it decides.
    configure(engine,
              [&](EngineSettings& s) { s.userVocabulary = EnglishVocabulary::ofWords({"xmp"}, -12.0); });
    expectSeen(engine,
               {{"xmpfu6", "[琴|]"}, {"xmpfu6w8 ", "[xmp其他|]"}, {"xmpfu6w8 {enter}", "xmp 其他[]"}});
}

namespace {

// Habits: a bonus for every word read ㄐㄧ, and a word of the user's own for a syllable the
// dictionary lacks.
struct Habits : LearnedModel {
    double bonus(std::string_view reading, std::string_view) const override {
        return reading == "ㄐㄧ" ? 2.0 : 0.0;
    }
    std::vector<Unigram> extraWords(std::string_view reading) const override {
        return reading == "ㄈㄧ" ? std::vector<Unigram>{{"乁", -4.0}} : std::vector<Unigram>{};
    }
    TransitionScorer transitionsAfter(std::string_view) const override { return {}; }
};

} // namespace

TEST(KeyRunScorer, HabitsChooseAmongAReadingsWordsAndAddTheUsersOwn) {
    const Habits habits;
    const KeyRunScorer plain(*bundledLexicon(), *bundledVocabulary(), nullptr);
    const KeyRunScorer learned(*bundledLexicon(), *bundledVocabulary(), nullptr, nullptr, &habits);
    // Habits choose among a reading's words, the reading grows no likelier: else a word chosen often
    // splits keys around its syllable (啟動 read as f 以動 once 以 was chosen often).
    EXPECT_DOUBLE_EQ(learned.syllableScore("ㄐㄧ", std::nullopt), plain.syllableScore("ㄐㄧ", std::nullopt));
    EXPECT_EQ(plain.syllableScore("ㄈㄧ", std::nullopt), KeyRunScorer::unknownReadingScore);
    EXPECT_EQ(learned.syllableScore("ㄈㄧ", std::nullopt), -4.0);
    // After a number too: else a learned word reads keys that replaced a digit as the word alone.
    const auto* pairs = bundledWordPairs().get();
    const KeyRunScorer plainAfter(*bundledLexicon(), *bundledVocabulary(), nullptr, nullptr, nullptr, pairs);
    const KeyRunScorer learnedAfter(*bundledLexicon(), *bundledVocabulary(), nullptr, nullptr, &habits,
                                    pairs);
    EXPECT_DOUBLE_EQ(learnedAfter.syllableAfterNumberScore("ㄐㄧ"),
                     plainAfter.syllableAfterNumberScore("ㄐㄧ"));
}
