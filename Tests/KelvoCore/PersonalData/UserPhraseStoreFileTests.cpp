#include "UserPhraseStoreTestSupport.hpp"

#include <chrono>
#include <thread>

using namespace kelvo;
using namespace kelvo::testing;

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
    EXPECT_EQ(mixed.data().transitions.at("甲").at("乙").count, 2);
    EXPECT_EQ(mixed.transitionCount(), 1u);
    mixed.bump("ㄅ", "不");
    mixed.flush();
    EXPECT_EQ(asideCopies().size(), 1u); // the skipped parts stay in the copy kept aside
    EXPECT_NE(mixed.takeNotices().at(0).message.find("有部分內容無法使用"), std::string::npos);
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
