#include "UserPhraseStoreTestSupport.hpp"

#include <chrono>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <thread>

using namespace kelvo;
using namespace kelvo::testing;

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
    EXPECT_EQ(store.data().transitions.at("今天").at("天氣").count, 2);
    EXPECT_GT(store.transitionBonus("今天", "天氣"), store.transitionBonus("很", "好"));
    EXPECT_GT(store.transitionBonus("很", "好"), 0.0);
    EXPECT_EQ(store.transitionBonus("好", "很"), 0.0);
    auto row = store.transitionsFrom("今天");
    ASSERT_TRUE(row);
    EXPECT_DOUBLE_EQ(row.bonus("天氣"), store.transitionBonus("今天", "天氣"));
    EXPECT_EQ(row.bonus("很"), 0.0);
    store.noteCommit({"今天", "下雨"});
    EXPECT_DOUBLE_EQ(store.transitionsFrom("今天").pair("天氣").share, 2.0 / 3.0); // of all after 今天
    EXPECT_FALSE(store.transitionsFrom("天空"));
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
    EXPECT_EQ(store.entries(Kind::selection),
              (std::vector<UserPhraseStore::Entry>{{Kind::selection, "ㄇㄚ", "媽", 2},
                                                   {Kind::selection, "ㄅ", "不", 1},
                                                   {Kind::selection, "ㄅㄚ", "八", 1}}));
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
