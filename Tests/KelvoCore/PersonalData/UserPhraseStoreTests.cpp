#include "../../Support/TemporaryFolder.hpp"
#include "PersonalData/UserPhraseStore.hpp"

#include <chrono>
#include <cmath>
#include <condition_variable>
#include <gtest/gtest.h>
#include <mutex>
#include <nlohmann/json.hpp>
#include <thread>

using namespace kelvo;
using kelvo::testing::TemporaryFolder;
using Kind = UserPhraseStore::Entry::Kind;
using Json = nlohmann::json;

namespace {

class UserPhraseStoreTest : public ::testing::Test {
protected:
    TemporaryFolder folder;
    std::filesystem::path path = folder / "Kelvo/userphrases.json";

    // Copies of unusable files kept beside the file.
    std::vector<std::filesystem::path> asideCopies() const {
        std::vector<std::filesystem::path> found;
        for (const auto& entry : std::filesystem::directory_iterator(path.parent_path()))
            if (entry.path().filename().string().starts_with("userphrases.json.unreadable-"))
                found.push_back(entry.path());
        return found;
    }

    // The file once the store wrote everything it learned.
    Json saved(UserPhraseStore& store) const {
        store.flush();
        return Json::parse(TemporaryFolder::read(path));
    }
};

std::string fullLayout(const std::string& transitions) {
    return R"({"selections":{},"pendingWords":{},"words":{},"transitions":)" + transitions + "}";
}

} // namespace

TEST_F(UserPhraseStoreTest, BumpRaisesTheBonusLogarithmically) {
    UserPhraseStore store(path);
    EXPECT_EQ(store.bonus("ㄇㄚ", "媽"), 0.0);
    store.bump("ㄇㄚ", "媽");
    EXPECT_DOUBLE_EQ(store.bonus("ㄇㄚ", "媽"), 2 * std::log(2.0));
    store.bump("ㄇㄚ", "媽");
    store.bump("ㄇㄚ", "媽");
    EXPECT_DOUBLE_EQ(store.bonus("ㄇㄚ", "媽"), 2 * std::log(4.0));
    EXPECT_EQ(store.bonus("ㄇㄚ", "麻"), 0.0);
    EXPECT_EQ(saved(store)["selections"]["ㄇㄚ"]["媽"], 3);
}

TEST_F(UserPhraseStoreTest, CommitRecordsAdjacentPairs) {
    UserPhraseStore store(path);
    store.noteCommit({"我"});
    store.noteCommit({"我", "", "好"});
    store.flush();
    EXPECT_EQ(store.transitionCount(), 0u);
    EXPECT_FALSE(std::filesystem::exists(path)); // nothing to record, nothing written

    store.noteCommit({"今天", "天氣", "很", "好"});
    store.noteCommit({"今天", "天氣"});
    EXPECT_EQ(store.transitionCount(), 3u);
    EXPECT_DOUBLE_EQ(store.transitionBonus("今天", "天氣"), std::log(3.0));
    EXPECT_DOUBLE_EQ(store.transitionBonus("很", "好"), std::log(2.0));
    EXPECT_EQ(store.transitionBonus("好", "很"), 0.0);
    auto row = store.transitionsFrom("今天");
    ASSERT_TRUE(row);
    EXPECT_DOUBLE_EQ(row.bonus("天氣"), std::log(3.0));
    EXPECT_EQ(row.bonus("很"), 0.0);
    EXPECT_FALSE(store.transitionsFrom("天空"));
}

TEST_F(UserPhraseStoreTest, HandAssembledWordIsLearnedOnItsSecondReport) {
    UserPhraseStore store(path);
    store.noteWordCandidate("ㄋㄧˇ-ㄏㄠˇ", "你好");
    EXPECT_EQ(store.data().pendingWords.at("ㄋㄧˇ-ㄏㄠˇ").at("你好").count, 1);
    EXPECT_TRUE(store.userWords("ㄋㄧˇ-ㄏㄠˇ").empty());
    store.noteWordCandidate("ㄋㄧˇ-ㄏㄠˇ", "你好");
    EXPECT_FALSE(store.data().pendingWords.contains("ㄋㄧˇ-ㄏㄠˇ"));
    EXPECT_EQ(store.data().words.at("ㄋㄧˇ-ㄏㄠˇ").at("你好").count, 2);
    EXPECT_EQ(store.userWords("ㄋㄧˇ-ㄏㄠˇ"), (std::vector<Unigram>{{"你好", -8.0}}));
    store.noteWordCandidate("ㄋㄧˇ-ㄏㄠˇ", "你好");
    EXPECT_EQ(store.data().words.at("ㄋㄧˇ-ㄏㄠˇ").at("你好").count, 3);
    EXPECT_EQ(saved(store)["words"]["ㄋㄧˇ-ㄏㄠˇ"]["你好"], 3);
    EXPECT_FALSE(saved(store)["pendingWords"].contains("ㄋㄧˇ-ㄏㄠˇ"));
}

TEST_F(UserPhraseStoreTest, WritesCompactFullLayoutAndReadsItBack) {
    {
        UserPhraseStore store(path);
        store.bump("ㄇㄚ", "媽");
        store.noteWordCandidate("ㄊㄞˊ-ㄨㄢ", "台灣");
        store.noteCommit({"你", "好"});
    }
    std::string text = TemporaryFolder::read(path);
    EXPECT_EQ(text.find('\n'), std::string::npos);
    EXPECT_EQ(text.find(": "), std::string::npos);
    Json json = Json::parse(text);
    EXPECT_EQ(json.size(), 5u); // the four tables, and when each entry was learned
    UserPhraseStore reloaded(path);
    reloaded.flush();
    EXPECT_DOUBLE_EQ(reloaded.bonus("ㄇㄚ", "媽"), 2 * std::log(2.0));
    EXPECT_EQ(reloaded.data().pendingWords.at("ㄊㄞˊ-ㄨㄢ").at("台灣").count, 1);
    EXPECT_DOUBLE_EQ(reloaded.transitionBonus("你", "好"), std::log(2.0));
    EXPECT_TRUE(asideCopies().empty());
}

TEST_F(UserPhraseStoreTest, ReadsTheOlderLayoutAsSelections) {
    folder.write("Kelvo/userphrases.json", R"({"ㄇㄚ":{"媽":3}})");
    UserPhraseStore store(path);
    store.flush();
    EXPECT_EQ(store.data().selections.at("ㄇㄚ").at("媽").count, 3);
    EXPECT_TRUE(store.data().transitions.empty());
    store.bump("ㄇㄚ", "媽");
    EXPECT_EQ(saved(store)["selections"]["ㄇㄚ"]["媽"], 4);
    EXPECT_TRUE(saved(store).contains("transitions"));
    EXPECT_TRUE(asideCopies().empty()); // a layout it knows is converted, not kept aside
}

TEST_F(UserPhraseStoreTest, FileOfNeitherLayoutIsEmptyAndKeptAside) {
    std::string partial = R"({"selections":{"ㄇㄚ":{"媽":3}},"pendingWords":{},"words":{}})";
    folder.write("Kelvo/userphrases.json", partial);
    UserPhraseStore store(path);
    store.flush();
    EXPECT_TRUE(store.data().selections.empty());
    store.bump("ㄅㄚ", "八");
    EXPECT_EQ(saved(store)["selections"].size(), 1u);
    ASSERT_EQ(asideCopies().size(), 1u);
    EXPECT_EQ(TemporaryFolder::read(asideCopies()[0]), partial);
    auto notices = store.takeNotices();
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].message.find(asideCopies()[0].filename().string()), std::string::npos);
    EXPECT_NE(notices[0].message.find("沒有讀進任何資料"), std::string::npos) << notices[0].message;
    EXPECT_TRUE(store.takeNotices().empty()); // told once
}

TEST_F(UserPhraseStoreTest, HostileFilesLoadWhatIsValid) {
    std::string deep(100000, '[');
    for (const std::string& text :
         {deep, std::string("{\"ㄇㄚ\":{\"\xff\":1}}"), std::string("\xef\xbb\xbf{}"),
          std::string("{\"ㄇㄚ\":{\"媽\":1e400}}"), std::string("")}) {
        folder.write("Kelvo/userphrases.json", text);
        UserPhraseStore store(path);
        store.flush();
        EXPECT_TRUE(store.data().selections.empty());
    }
    folder.write(
        "Kelvo/userphrases.json",
        R"({"ㄇㄚ":{"媽":3,"麻":-2,"嗎":1.5,"馬":99999999999999999999999,"罵":9223372036854775808,"碼":0}})");
    UserPhraseStore store(path);
    store.flush();
    EXPECT_EQ(store.data().selections.at("ㄇㄚ").size(), 1u);
    EXPECT_EQ(store.data().selections.at("ㄇㄚ").at("媽").count, 3);

    folder.write("Kelvo/userphrases.json", fullLayout(R"({"甲":{"乙":2},"丙":[1],"丁":{"戊":"x"}})"));
    UserPhraseStore mixed(path);
    mixed.flush();
    EXPECT_DOUBLE_EQ(mixed.transitionBonus("甲", "乙"), std::log(3.0));
    EXPECT_EQ(mixed.transitionCount(), 1u);
    mixed.bump("ㄅ", "不");
    mixed.flush();
    EXPECT_EQ(asideCopies().size(), 1u); // the skipped parts stay in the copy kept aside
    EXPECT_NE(mixed.takeNotices().at(0).message.find("有部分內容無法使用"), std::string::npos);
}

TEST_F(UserPhraseStoreTest, CountsStopAtTheLargestInteger) {
    folder.write("Kelvo/userphrases.json", R"({"ㄇㄚ":{"媽":9223372036854775807}})");
    UserPhraseStore store(path);
    store.flush();
    store.bump("ㄇㄚ", "媽");
    EXPECT_EQ(store.data().selections.at("ㄇㄚ").at("媽").count, INT64_MAX);
}

TEST_F(UserPhraseStoreTest, EntriesListByCountThenKey) {
    UserPhraseStore store(path);
    store.bump("ㄅ", "不");
    store.bump("ㄇㄚ", "媽");
    store.bump("ㄇㄚ", "媽");
    store.bump("ㄅㄚ", "八");
    auto rows = store.entries(Kind::selection);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], (UserPhraseStore::Entry{Kind::selection, "ㄇㄚ", "媽", 2}));
    EXPECT_EQ(rows[1].key, "ㄅ");
    EXPECT_EQ(rows[2].key, "ㄅㄚ");
    EXPECT_EQ(rows[0].id(), "選字紀錄\tㄇㄚ\t媽");
    EXPECT_EQ(UserPhraseStore::label(Kind::word), "自動造詞");
    EXPECT_EQ(UserPhraseStore::label(Kind::transition), "詞語接續");
    store.noteWordCandidate("ㄅ-ㄆ", "不怕"); // pending words are never listed
    EXPECT_TRUE(store.entries(Kind::word).empty());
}

TEST_F(UserPhraseStoreTest, RemoveLeavesNoEmptyRowAndResetClearsAll) {
    UserPhraseStore store(path);
    store.bump("ㄇㄚ", "媽");
    store.noteWordCandidate("ㄅ-ㄆ", "不怕");
    store.noteCommit({"你", "好"});
    store.remove(UserPhraseStore::Entry{Kind::selection, "ㄇㄚ", "媽", 1});
    EXPECT_FALSE(saved(store)["selections"].contains("ㄇㄚ"));
    store.remove(UserPhraseStore::Entry{Kind::transition, "沒有", "這個", 1});
    EXPECT_FALSE(saved(store)["transitions"].contains("沒有"));
    store.reset();
    Json cleared = saved(store);
    for (const char* table : {"selections", "pendingWords", "words", "transitions"})
        EXPECT_EQ(cleared[table], Json::object()) << table;
    EXPECT_GT(cleared["clearedAt"].get<std::int64_t>(), 0);
    EXPECT_TRUE(store.data().pendingWords.empty());
}

// A reset made with the clock ahead, or a file from another machine, must not stop learning.
TEST_F(UserPhraseStoreTest, TimesFromTheFutureAreMovedBackAndLearningGoesOn) {
    using namespace std::chrono;
    const auto now = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
    const auto tomorrow = std::to_string(now + 86'400'000);
    folder.write("Kelvo/userphrases.json",
                 fullLayout("{}").insert(1, R"("clearedAt":)" + tomorrow +
                                                R"(,"removed":{"選字紀錄\tㄇㄚ\t媽":)" + tomorrow + "},"));
    UserPhraseStore store(path);
    store.flush();
    store.bump("ㄋㄧˇ", "你");
    store.bump("ㄇㄚ", "媽");
    Json file = saved(store);
    EXPECT_EQ(file["selections"]["ㄋㄧˇ"]["你"], 1);
    EXPECT_EQ(file["selections"]["ㄇㄚ"]["媽"], 1);
    EXPECT_LE(file["clearedAt"].get<std::int64_t>(), now + 60'000);
    auto notices = store.takeNotices();
    ASSERT_EQ(notices.size(), 1u); // told once, though both the load and the save met it
    EXPECT_NE(notices[0].message.find("晚於現在"), std::string::npos);
}

// A newer Kelvo beside this one (the package and a user's own copy) writes keys this one does not
// know: they stay, and the file is not copied aside for them.
TEST_F(UserPhraseStoreTest, KeysOfANewerVersionStayAndAreNoReasonToSetTheFileAside) {
    folder.write("Kelvo/userphrases.json", fullLayout("{}").insert(1, R"("newerTable":{"a":[1,2]},)"));
    UserPhraseStore store(path);
    store.flush();
    for (int i = 0; i < 3; ++i) {
        store.bump("ㄇㄚ", "媽");
        EXPECT_EQ(saved(store)["newerTable"], Json::parse(R"({"a":[1,2]})"));
    }
    EXPECT_TRUE(asideCopies().empty());
}

TEST_F(UserPhraseStoreTest, WorksInMemoryWithoutAFile) {
    UserPhraseStore store;
    store.bump("ㄇㄚ", "媽");
    store.noteCommit({"你", "好"});
    EXPECT_GT(store.bonus("ㄇㄚ", "媽"), 0.0);
    EXPECT_GT(store.transitionBonus("你", "好"), 0.0);
    EXPECT_FALSE(std::filesystem::exists(folder / "Kelvo"));
}

TEST_F(UserPhraseStoreTest, FailedSaveKeepsTheOldFileAndTheNewData) {
    UserPhraseStore store(path);
    store.bump("ㄇㄚ", "媽");
    std::string before = saved(store).dump();
    {
        kelvo::testing::FileSizeLimit limit(8);
        store.bump("ㄅㄚ", "八");
        store.flush();
    }
    EXPECT_EQ(Json::parse(TemporaryFolder::read(path)).dump(), before);
    auto notices = store.takeNotices();
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].message.find("無法儲存"), std::string::npos);
    EXPECT_GT(store.bonus("ㄅㄚ", "八"), 0.0);
    store.bump("ㄅ", "不"); // the next save writes everything
    EXPECT_EQ(saved(store)["selections"]["ㄅㄚ"]["八"], 1);
    // Failing again after a recovery is told again.
    {
        kelvo::testing::FileSizeLimit limit(8);
        store.bump("ㄆㄚ", "趴");
        store.flush();
    }
    EXPECT_EQ(store.takeNotices().size(), 1u);
}

TEST(StoreNotices, ALastingFailureIsToldAgainOnlyAfterAFewMinutes) {
    StoreNotices notices;
    const auto start = StoreNotices::Clock::now();
    notices.add({"磁碟已滿", ""}, start);
    notices.add({"磁碟已滿", ""}, start + std::chrono::minutes(1));
    EXPECT_EQ(notices.take().size(), 1u);
    notices.add({"磁碟已滿", ""}, start + StoreNotices::repeatAfter + std::chrono::seconds(1));
    EXPECT_EQ(notices.take().size(), 1u);
    notices.troubleOver();
    notices.add({"磁碟已滿", ""}, start + StoreNotices::repeatAfter + std::chrono::seconds(2));
    EXPECT_EQ(notices.take().size(), 1u);
}

// Another process learns an entry after this one removed it (or reset everything) but saves
// first: the learn is later, so it stays, whichever save lands last.
TEST_F(UserPhraseStoreTest, ALearnAfterARemovalElsewhereSurvivesTheRemovalsSave) {
    UserPhraseStore removing(path);
    UserPhraseStore learning(path);
    removing.bump("ㄇㄚ", "媽");
    removing.flush();
    removing.remove(UserPhraseStore::Entry{Kind::selection, "ㄇㄚ", "媽", 1});
    removing.reset();
    std::this_thread::sleep_for(std::chrono::milliseconds(5)); // a later millisecond
    learning.bump("ㄇㄚ", "媽");
    learning.noteCommit({"你", "好"});
    learning.flush();
    Json file = saved(removing);
    EXPECT_GE(file["selections"]["ㄇㄚ"]["媽"], 1);
    EXPECT_EQ(file["transitions"]["你"]["好"], 1);
}

// A file far beyond what Kelvo writes is neither read (it would take seconds and gigabytes) nor
// replaced; one a little beyond the limits loses its least used entries, with a copy kept first.
TEST_F(UserPhraseStoreTest, HugeFilesAreRefusedAndABigPruneKeepsACopy) {
    const std::string huge =
        fullLayout("{}").insert(1, R"("pad":")" + std::string(UserPhraseStore::largestFile, 'x') + R"(",)");
    folder.write("Kelvo/userphrases.json", huge);
    {
        UserPhraseStore store(path);
        store.flush();
        store.bump("ㄇㄚ", "媽");
        store.flush();
        EXPECT_GT(store.bonus("ㄇㄚ", "媽"), 0.0);
        auto notices = store.takeNotices();
        ASSERT_EQ(notices.size(), 2u); // cannot be read, so nothing is saved
        EXPECT_NE(notices[0].message.find("上限"), std::string::npos) << notices[0].message;
        EXPECT_NE(notices[1].message.find("請移走它"), std::string::npos) << notices[1].message;
    }
    EXPECT_EQ(std::filesystem::file_size(path), huge.size());

    Json full = Json::parse(fullLayout("{}"));
    for (std::size_t i = 0; i < LearnedData::wordLimit + UserPhraseStore::largestQuietPrune + 1; ++i)
        full["words"]["ㄅ-" + std::to_string(i)]["字"] = 1;
    folder.write("Kelvo/userphrases.json", full.dump());
    UserPhraseStore store(path);
    store.bump("ㄇㄚ", "媽");
    EXPECT_EQ(saved(store)["words"].size(), LearnedData::wordLimit);
    ASSERT_EQ(asideCopies().size(), 1u);
    EXPECT_EQ(Json::parse(TemporaryFolder::read(asideCopies()[0])), full);
    auto notices = store.takeNotices();
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].message.find("最少用到的 101 筆"), std::string::npos) << notices[0].message;
}

// A save that began before one refresh and ended after it leaves two replaced tables; freeing
// one on the key thread took up to a tenth of a second with full tables.
TEST_F(UserPhraseStoreTest, TablesReplacedBetweenKeysWaitForTheWorker) {
    UserPhraseStore store(path);
    std::mutex mutex;
    std::condition_variable changed;
    int held = 0;      // saves waiting at the gate
    bool open = false; // whether they may go on
    store.setSaveStepHook([&](UserDataFile::SaveStep step) {
        if (step != UserDataFile::SaveStep::locked) return std::error_code();
        std::unique_lock lock(mutex);
        ++held;
        changed.notify_all();
        changed.wait(lock, [&] { return open; });
        --held;
        changed.notify_all();
        return std::error_code();
    });
    auto waitUntilHeld = [&] {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return held == 1; });
    };
    auto letGo = [&] {
        std::unique_lock lock(mutex);
        open = true;
        changed.notify_all();
        changed.wait(lock, [&] { return held == 0; });
        open = false;
    };
    store.bump("ㄇㄚ", "媽");
    store.saveSoon();
    waitUntilHeld();          // the first save holds the lock
    store.bump("ㄅㄚ", "八"); // a change the first save does not include
    letGo();
    store.saveSoon();
    waitUntilHeld(); // the second save runs, so the first one's result is in
    EXPECT_TRUE(store.refresh());
    letGo();
    store.flush(); // takes in the second save's result too
    EXPECT_EQ(store.tablesAwaitingRelease(), 2u);
    store.setSaveStepHook({});
    store.bump("ㄆ", "怕");
    store.flush(); // the next save freed both; the refresh after it replaced one more
    EXPECT_EQ(store.tablesAwaitingRelease(), 1u);
    EXPECT_EQ(saved(store)["selections"].size(), 3u);
}
