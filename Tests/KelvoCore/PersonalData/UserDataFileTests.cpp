#include "../../Support/TemporaryFolder.hpp"
#include "PersonalData/UserDataFile.hpp"
#include "Text/FileContents.hpp"

#include <gtest/gtest.h>
#include <set>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace kelvo;
using kelvo::testing::TemporaryFolder;
using Step = UserDataFile::SaveStep;

namespace {

// A rewrite that puts `text` in place, copying the old contents aside when `aside` is set.
UserDataFile::Change replacingWith(std::string text, bool aside = false) {
    return [text, aside](const std::optional<std::string>&) {
        return std::optional(UserDataFile::Rewrite{text, aside});
    };
}

// Files an interrupted rewrite may leave behind.
std::size_t leftoversOf(const TemporaryFolder& folder) {
    return folder.filesStartingWith(".data.json.").size();
}

constexpr Step allSteps[] = {Step::locked,          Step::keptAside, Step::temporaryWritten,
                             Step::temporarySynced, Step::renamed,   Step::folderSynced};

} // namespace

TEST(UserDataFile, ARewriteKeepsTheUsersLinkModeAndOwner) {
    TemporaryFolder folder;
    auto target = folder.write("synced/data.json", "old");
    std::filesystem::create_directories(folder / "Kelvo");
    std::filesystem::create_symlink(target, folder / "Kelvo/data.json");
    UserDataFile linked(folder / "Kelvo/data.json");
    EXPECT_FALSE(linked.rewrite(replacingWith("new")));
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "Kelvo/data.json"));
    EXPECT_EQ(TemporaryFolder::read(target), "new");

    auto readOnly = folder.write("readonly.json", "kept");
    ::chmod(readOnly.c_str(), 0444);
    EXPECT_EQ(UserDataFile(readOnly).rewrite(replacingWith("lost")), std::errc::permission_denied);
    EXPECT_EQ(TemporaryFolder::read(readOnly), "kept");

    auto shared = folder.write("shared.json", "x");
    ::chmod(shared.c_str(), 0640);
    const bool root = ::geteuid() == 0;
    if (root) { // another user's file, as root
        ASSERT_EQ(::chown(shared.c_str(), 12345, 12345), 0);
    }
    EXPECT_FALSE(UserDataFile(shared).rewrite(replacingWith("y")));
    struct stat status {};
    ASSERT_EQ(::stat(shared.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
    if (root) {
        EXPECT_EQ(status.st_uid, 12345u);
    }
}

TEST(UserDataFile, RewriteStartsFromWhatIsOnDiskNow) {
    TemporaryFolder folder;
    UserDataFile file(folder / "data.json");
    EXPECT_FALSE(file.read().text);
    EXPECT_FALSE(file.read().error);
    auto append = [](const std::optional<std::string>& current) {
        return std::optional(UserDataFile::Rewrite{current.value_or("") + "a"});
    };
    EXPECT_FALSE(file.rewrite(append));
    EXPECT_FALSE(file.changedSinceSeen()); // its own write
    folder.write("data.json", "other process ");
    EXPECT_TRUE(file.changedSinceSeen());
    EXPECT_FALSE(file.rewrite(append));
    EXPECT_EQ(TemporaryFolder::read(folder / "data.json"), "other process a");
    EXPECT_FALSE(file.rewrite([](const std::optional<std::string>&) { return std::nullopt; }));
    EXPECT_EQ(TemporaryFolder::read(folder / "data.json"), "other process a");
    EXPECT_FALSE(file.takeKeptAside());
}

TEST(UserDataFile, UnusableContentsAreCopiedAsideNeverOverACopy) {
    TemporaryFolder folder;
    UserDataFile file(folder / "data.json");
    for (std::string old : {"first bad", "second bad", "third bad"}) {
        folder.write("data.json", old);
        EXPECT_FALSE(file.rewrite(replacingWith("{}", true)));
        auto aside = file.takeKeptAside();
        ASSERT_TRUE(aside);
        EXPECT_EQ(TemporaryFolder::read(*aside), old);
        EXPECT_EQ(TemporaryFolder::read(folder / "data.json"), "{}");
    }
    // Three copies made within the same second keep three names.
    EXPECT_EQ(folder.filesStartingWith("data.json.unreadable-").size(), 3u);

    // The same unusable contents again make no further copy; of many, the newest few stay.
    folder.write("data.json", "second bad");
    EXPECT_FALSE(file.rewrite(replacingWith("{}", true)));
    EXPECT_FALSE(file.takeKeptAside());
    EXPECT_EQ(folder.filesStartingWith("data.json.unreadable-").size(), 3u);
    for (int n = 0; n < 8; ++n) {
        folder.write("data.json", "bad " + std::to_string(n));
        EXPECT_FALSE(file.rewrite(replacingWith("{}", true)));
    }
    std::set<std::string> kept;
    for (const auto& name : folder.filesStartingWith("data.json.unreadable-"))
        kept.insert(TemporaryFolder::read(name));
    EXPECT_EQ(kept, (std::set<std::string>{"bad 3", "bad 4", "bad 5", "bad 6", "bad 7"}));
}

TEST(UserDataFile, WhatCannotBeReadIsNeverReplaced) {
    TemporaryFolder folder;
    std::filesystem::create_directories(folder / "data.json");
    UserDataFile directory(folder / "data.json");
    EXPECT_TRUE(directory.read().error);
    EXPECT_TRUE(directory.rewrite(replacingWith("{}")));
    EXPECT_TRUE(std::filesystem::is_directory(folder / "data.json"));

    // A FIFO without a writer would block an ordinary open forever.
    auto fifo = folder / "fifo.json";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    UserDataFile pipe(fifo);
    EXPECT_EQ(pipe.read().error, FileError::notRegularFile);
    EXPECT_EQ(pipe.rewrite(replacingWith("{}")), FileError::notRegularFile);
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
    std::error_code error;
    EXPECT_EQ(readFileContents(fifo, error), "");
    EXPECT_EQ(error, FileError::notRegularFile);
    EXPECT_EQ(error.message(), "not a regular file");
}

TEST(UserDataFile, AFailureAtAnyStepLeavesOneWholeFile) {
    for (Step failing : allSteps) {
        TemporaryFolder folder;
        folder.write("data.json", "old");
        UserDataFile file(folder / "data.json");
        file.setStepHook([&](Step done) {
            // At every step either the old or the new contents stand whole.
            std::string now = TemporaryFolder::read(folder / "data.json");
            EXPECT_TRUE(now == "old" || now == "new") << now;
            return done == failing ? std::make_error_code(std::errc::io_error) : std::error_code();
        });
        EXPECT_TRUE(file.rewrite(replacingWith("new", true)));
        const bool replaced = failing == Step::renamed || failing == Step::folderSynced;
        EXPECT_EQ(TemporaryFolder::read(folder / "data.json"), replaced ? "new" : "old");
        EXPECT_EQ(leftoversOf(folder), 0u);
    }
}

TEST(UserDataFile, ACrashAtAnyStepLeavesOneWholeFileAndLeftoversAreRemovedLater) {
    for (Step crashing : allSteps) {
        TemporaryFolder folder;
        folder.write("data.json", "old");
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            UserDataFile file(folder / "data.json");
            file.setStepHook([&](Step done) {
                if (done == crashing) ::_exit(0);
                return std::error_code();
            });
            (void)file.rewrite(replacingWith("new", true));
            ::_exit(1);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        std::string now = TemporaryFolder::read(folder / "data.json");
        EXPECT_TRUE(now == "old" || now == "new") << now;
        const bool pastRename = crashing == Step::renamed || crashing == Step::folderSynced;
        EXPECT_EQ(leftoversOf(folder), pastRename                                                ? 0u
                                       : crashing == Step::locked || crashing == Step::keptAside ? 0u
                                                                                                 : 1u);
        UserDataFile later(folder / "data.json");
        later.removeLeftovers();
        EXPECT_EQ(leftoversOf(folder), 0u);
        EXPECT_EQ(TemporaryFolder::read(folder / "data.json"), now);
    }
}

TEST(UserDataFile, ConcurrentRewritesAllCount) {
    TemporaryFolder folder;
    auto addOne = [](const std::optional<std::string>& current) {
        return std::optional(UserDataFile::Rewrite{std::to_string(std::stoi(current.value_or("0")) + 1)});
    };
    std::vector<std::thread> writers;
    for (int w = 0; w < 4; ++w)
        writers.emplace_back([&] {
            UserDataFile file(folder / "data.json");
            for (int i = 0; i < 50; ++i)
                EXPECT_FALSE(file.rewrite(addOne));
        });
    for (auto& writer : writers)
        writer.join();
    EXPECT_EQ(TemporaryFolder::read(folder / "data.json"), "200");
}
