#include "WindowTestSupport.hpp"

using namespace kelvo;
using namespace kelvo::testing;
using Kind = UserPhraseStore::Entry::Kind;

TEST(LearnedDataWindow, SearchNarrowsDeletingTheLastEntryShowsTheEmptyState) {
    auto store = std::make_shared<UserPhraseStore>();
    store->bump("ㄋㄧˇ", "妳");
    store->bump("ㄋㄧˇ", "妳");
    store->bump("ㄏㄠˇ", "郝");
    store->noteCommit({"今天", "天氣"});
    LearnedDataView view(store);
    EXPECT_EQ(view.shownEntries().size(), 2u);
    view.setSearch(QString::fromUtf8("ㄏㄠ"));
    ASSERT_EQ(view.shownEntries().size(), 1u);
    EXPECT_EQ(view.shownEntries()[0].value, "郝");
    view.setSearch(QString::fromUtf8("妳"));
    EXPECT_EQ(view.shownEntries().size(), 1u);
    EXPECT_EQ(view.table()->item(0, 2)->text(), "2");
    view.setSearch("xyz");
    EXPECT_EQ(view.emptyStateTitle(), QString::fromUtf8("找不到符合的項目")); // not the no-data state
    view.setSearch("");
    view.setKind(Kind::transition);
    EXPECT_FALSE(view.shownEntries().empty());
    view.setKind(Kind::word);
    EXPECT_EQ(view.emptyStateTitle(), QString::fromUtf8("還沒有學習紀錄"));
    view.setKind(Kind::selection);
    view.deleteShown(0);
    view.deleteShown(0);
    EXPECT_EQ(view.emptyStateTitle(), QString::fromUtf8("還沒有學習紀錄"));
    EXPECT_TRUE(store->entries(Kind::selection).empty());
    EXPECT_EQ(countOf(shownTexts(view), "共 0 筆"), 1);
}

TEST(LearnedDataWindow, FollowsWhatTheInputMethodLearnsAndClears) {
    kelvo::testing::TemporaryFolder folder;
    const auto path = folder / "userphrases.json";
    auto inputMethod = std::make_shared<UserPhraseStore>(path);
    auto windowStore = std::make_shared<UserPhraseStore>(path);
    LearnedDataView view(windowStore);
    EXPECT_TRUE(view.shownEntries().empty());
    inputMethod->bump("ㄋㄧˇ-ㄏㄠˇ", "妳好");
    inputMethod->flush();
    for (int i = 0; i < 200 && view.shownEntries().empty(); ++i) {
        QThread::msleep(10);
        view.syncWithStore();
    }
    ASSERT_EQ(view.shownEntries().size(), 1u); // another process's learning appears
    view.deleteShown(0);
    windowStore->flush();
    inputMethod->bump("ㄉㄚˋ", "大"); // the input method's next save keeps the deletion
    inputMethod->flush();
    EXPECT_EQ(UserPhraseStore(path).bonus("ㄋㄧˇ-ㄏㄠˇ", "妳好"), 0.0);

    // 清除全部 from the settings window, over the same store: the open window empties.
    auto shared = std::make_shared<UserPhraseStore>();
    shared->bump("ㄇㄚ", "媽");
    LearnedDataView sameProcess(shared);
    ASSERT_EQ(sameProcess.shownEntries().size(), 1u);
    shared->reset();
    sameProcess.syncWithStore();
    EXPECT_TRUE(sameProcess.shownEntries().empty());
}

TEST(LearnedDataWindow, TellsWhenTheFileCannotBeRead) {
    kelvo::testing::TemporaryFolder folder;
    std::filesystem::create_directories(folder / "userphrases.json");
    LearnedDataView view(std::make_shared<UserPhraseStore>(folder / "userphrases.json"));
    EXPECT_TRUE(view.statusText().isEmpty());
    view.syncWithStore();
    EXPECT_TRUE(view.statusText().contains(QString::fromUtf8("無法讀取"))) << view.statusText().toStdString();
}

TEST(LearnedDataWindow, OneWindowWithEveryLabelOnce) {
    auto store = std::make_shared<UserPhraseStore>();
    store->bump("ㄘㄜˋ ㄕˋ", "測試");
    store->bump("ㄋㄧˇ ㄏㄠˇ", "你好");
    auto& controller = LearnedDataWindowController::shared();
    controller.show(store);
    controller.show(std::make_shared<UserPhraseStore>()); // brought forward, store kept
    EXPECT_EQ(windowsTitled("Kelvo學習資料"), 1);
    EXPECT_EQ(controller.view()->shownEntries().size(), 2u);
    EXPECT_EQ(countOf(shownTexts(*controller.window()), "共 2 筆"), 1);
    EXPECT_EQ(textsWithoutGlyphs(*controller.window()), QStringList());
    photograph(*controller.window(), "learned-data");
}
