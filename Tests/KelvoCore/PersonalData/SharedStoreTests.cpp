// Several processes learning into one folder at once: nothing is lost, nothing comes back.
#include "../../Support/TemporaryFolder.hpp"
#include "PersonalData/CustomTextStore.hpp"
#include "PersonalData/UserPhraseStore.hpp"

#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace kelvo;
using kelvo::testing::TemporaryFolder;
using Kind = UserPhraseStore::Entry::Kind;

namespace {

constexpr int rounds = 150;

// Runs `work` in a child process; answers its process id.
pid_t inChild(const std::function<void()>& work) {
    pid_t child = ::fork();
    if (child == 0) {
        work();
        ::_exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    return child;
}

bool exitedCleanly(pid_t child) {
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Learns and writes shortcuts as the input method would, with saves racing the other process.
void learnAndWriteShortcuts(const std::filesystem::path& folder, const std::string& name,
                            const std::string& trigger) {
    UserPhraseStore phrases(folder / "userphrases.json");
    CustomTextStore shortcuts(folder / "customtexts.json");
    for (int i = 0; i < rounds; ++i) {
        phrases.bump("ㄇㄚ", "媽");                     // both processes count the same entry
        phrases.bump("ㄇㄚ", name + std::to_string(i)); // and entries of their own
        phrases.noteCommit({name, std::to_string(i % 10)});
        if (i % 25 == 0) phrases.flush();
        if (shortcuts.set(trigger + std::to_string(i), "text " + std::to_string(i))) ::_exit(2);
    }
}

// Calls `ready` until it answers true or two seconds passed.
bool eventually(const std::function<bool()>& ready) {
    for (int i = 0; i < 200; ++i) {
        if (ready()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

} // namespace

TEST(SharedStores, TwoProcessesLearningAtOnceLoseNothing) {
    TemporaryFolder folder;
    pid_t first = inChild([&] { learnAndWriteShortcuts(folder.root(), "甲", "a"); });
    pid_t second = inChild([&] { learnAndWriteShortcuts(folder.root(), "乙", "b"); });
    ASSERT_TRUE(exitedCleanly(first));
    ASSERT_TRUE(exitedCleanly(second));

    UserPhraseStore phrases(folder / "userphrases.json");
    phrases.flush();
    const auto& selections = phrases.data().selections.at("ㄇㄚ");
    EXPECT_EQ(selections.at("媽").count, 2 * rounds); // the counts of both add up
    EXPECT_EQ(selections.size(), 1u + 2 * rounds);
    EXPECT_EQ(phrases.data().transitions.at("甲").size(), 10u);
    EXPECT_EQ(phrases.data().transitions.at("乙").at("0").count, rounds / 10);

    CustomTextStore shortcuts(folder / "customtexts.json");
    EXPECT_EQ(shortcuts.entries().size(), 2u * rounds);
    EXPECT_EQ(shortcuts.expansion("b149"), "text 149");
}

TEST(SharedStores, ADeletionRacingALearnerStaysDeleted) {
    TemporaryFolder folder;
    const auto path = folder / "userphrases.json";
    {
        UserPhraseStore seed(path);
        seed.bump("ㄋㄧˇ-ㄏㄠˇ", "妳好");
    }
    int toLearner[2], fromLearner[2];
    ASSERT_EQ(::pipe(toLearner), 0);
    ASSERT_EQ(::pipe(fromLearner), 0);
    // The learner knows 妳好 and keeps learning other things while the window removes it.
    pid_t learner = inChild([&] {
        UserPhraseStore store(path);
        store.flush();
        if (store.bonus("ㄋㄧˇ-ㄏㄠˇ", "妳好") <= 0) ::_exit(3);
        if (::write(fromLearner[1], "r", 1) != 1) ::_exit(5);
        char go = 0;
        if (::read(toLearner[0], &go, 1) != 1) ::_exit(4);
        for (int i = 0; i < rounds; ++i) {
            store.refresh();
            store.bump("ㄉㄚˋ", "大");
            if (i % 30 == 0) store.flush();
        }
    });
    char ready = 0;
    ASSERT_EQ(::read(fromLearner[0], &ready, 1), 1); // the learner has read 妳好 before it goes
    {
        UserPhraseStore window(path);
        window.remove(UserPhraseStore::Entry{Kind::selection, "ㄋㄧˇ-ㄏㄠˇ", "妳好", 1});
        window.flush();
    }
    ASSERT_EQ(::write(toLearner[1], "g", 1), 1);
    ASSERT_TRUE(exitedCleanly(learner));
    for (int end : {toLearner[0], toLearner[1], fromLearner[0], fromLearner[1]})
        ::close(end);

    UserPhraseStore after(path);
    after.flush();
    EXPECT_EQ(after.bonus("ㄋㄧˇ-ㄏㄠˇ", "妳好"), 0.0);
    EXPECT_EQ(after.data().selections.at("ㄉㄚˋ").at("大").count, rounds);
}

TEST(SharedStores, AStoreTakesInWhatAnotherWroteAtItsNextRefresh) {
    TemporaryFolder folder;
    UserPhraseStore inputMethod(folder / "userphrases.json");
    CustomTextStore inputMethodShortcuts(folder / "customtexts.json");
    inputMethod.bump("ㄇㄚ", "媽");
    inputMethod.flush();
    {
        UserPhraseStore window(folder / "userphrases.json");
        window.bump("ㄅㄚ", "八");
        window.remove(UserPhraseStore::Entry{Kind::selection, "ㄇㄚ", "媽", 1});
        CustomTextStore settings(folder / "customtexts.json");
        ASSERT_FALSE(settings.set("addr", "台北市"));
    }
    EXPECT_TRUE(eventually([&] {
        inputMethod.refresh();
        return inputMethod.bonus("ㄅㄚ", "八") > 0.0;
    }));
    EXPECT_EQ(inputMethod.bonus("ㄇㄚ", "媽"), 0.0);
    EXPECT_TRUE(eventually([&] { return inputMethodShortcuts.expansion("addr").has_value(); }));
    // Its own next save does not bring the removed entry back.
    inputMethod.bump("ㄉㄚˋ", "大");
    inputMethod.flush();
    UserPhraseStore reread(folder / "userphrases.json");
    reread.flush();
    EXPECT_EQ(reread.bonus("ㄇㄚ", "媽"), 0.0);
    EXPECT_GT(reread.bonus("ㄉㄚˋ", "大"), 0.0);
}

TEST(SharedStores, ChangesReachTheDiskWithinASecondWithoutBeingAsked) {
    TemporaryFolder folder;
    UserPhraseStore store(folder / "userphrases.json");
    store.bump("ㄇㄚ", "媽"); // no flush: the worker saves after a quiet moment
    EXPECT_TRUE(eventually([&] { return std::filesystem::exists(folder / "userphrases.json"); }));
}

TEST(SharedStores, LeftoversOfInterruptedSavesAreRemovedAtStart) {
    TemporaryFolder folder;
    folder.write(".userphrases.json.a1B2c3", "typed text");
    folder.write(".customtexts.json.Zz9yX8", "typed text");
    folder.write(".userphrases.json.not-a-leftover", "kept");
    {
        UserPhraseStore phrases(folder / "userphrases.json");
        CustomTextStore shortcuts(folder / "customtexts.json");
        phrases.bump("ㄇㄚ", "媽");
        phrases.flush();
        ASSERT_FALSE(shortcuts.set("a", "b"));
    }
    EXPECT_TRUE(folder.filesStartingWith(".userphrases.json.a1").empty());
    EXPECT_TRUE(folder.filesStartingWith(".customtexts.json.Zz").empty());
    EXPECT_EQ(folder.filesStartingWith(".userphrases.json.not").size(), 1u);
}
