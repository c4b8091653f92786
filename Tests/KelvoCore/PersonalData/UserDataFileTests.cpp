#include "../../Support/TemporaryFolder.hpp"
#include "PersonalData/UserDataFile.hpp"

#include <gtest/gtest.h>

using namespace kelvo;
using kelvo::testing::TemporaryFolder;

TEST(UserDataFile, AtomicWriteCreatesFoldersAndReplacesWholeFiles) {
    TemporaryFolder folder;
    auto path = folder / "a/b/c/data.json";
    EXPECT_FALSE(writeFileAtomically(path, "first"));
    EXPECT_EQ(TemporaryFolder::read(path), "first");
    EXPECT_FALSE(writeFileAtomically(path, "2"));
    EXPECT_EQ(TemporaryFolder::read(path), "2");
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(path.parent_path()), {}), 1);
}

TEST(UserDataFile, FailedWriteLeavesTheOldFileAndNoLeftovers) {
    TemporaryFolder folder;
    auto path = folder.write("data.json", "old contents");
    {
        kelvo::testing::FileSizeLimit limit(4);
        EXPECT_TRUE(writeFileAtomically(path, "much longer new contents"));
    }
    EXPECT_EQ(TemporaryFolder::read(path), "old contents");
    EXPECT_EQ(folder.filesStartingWith(".data.json").size(), 0u);

    folder.write("blocker", "a file where a folder should be");
    EXPECT_TRUE(writeFileAtomically(folder / "blocker/data.json", "x"));
}

TEST(UserDataFile, MissingFileIsNotKeptAside) {
    TemporaryFolder folder;
    UserDataFile file(folder / "data.json");
    EXPECT_FALSE(file.read());
    EXPECT_FALSE(file.save("{}"));
    EXPECT_FALSE(file.keptAside());
    EXPECT_EQ(TemporaryFolder::read(folder / "data.json"), "{}");
}

TEST(UserDataFile, UnusableFileIsMovedAsideBeforeTheFirstSave) {
    TemporaryFolder folder;
    folder.write("data.json", "not json");
    UserDataFile file(folder / "data.json");
    EXPECT_EQ(file.read(), "not json");
    file.keepAsideBeforeSaving();
    EXPECT_FALSE(file.save("{}"));
    ASSERT_TRUE(file.keptAside());
    EXPECT_EQ(TemporaryFolder::read(*file.keptAside()), "not json");
    EXPECT_NE(file.keptAside()->filename().string().find("data.json.unreadable-"), std::string::npos);
    EXPECT_FALSE(file.save("{\"a\":1}"));
    EXPECT_EQ(folder.filesStartingWith("data.json.unreadable-").size(), 1u);
}

TEST(UserDataFile, UnreadableFileIsKeptAside) {
    TemporaryFolder folder;
    std::filesystem::create_directories(folder / "data.json"); // exists, but cannot be read as a file
    UserDataFile file(folder / "data.json");
    EXPECT_FALSE(file.read());
    EXPECT_FALSE(file.save("{}"));
    EXPECT_TRUE(file.keptAside());
    EXPECT_EQ(TemporaryFolder::read(folder / "data.json"), "{}");
}
