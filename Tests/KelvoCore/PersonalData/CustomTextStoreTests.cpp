#include "../../Support/TemporaryFolder.hpp"
#include "PersonalData/CustomTextStore.hpp"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

using namespace kelvo;
using kelvo::testing::TemporaryFolder;
using StoreError = CustomTextStore::StoreError;

namespace {
class CustomTextStoreTest : public ::testing::Test {
protected:
    TemporaryFolder folder;
    std::filesystem::path path = folder / "Kelvo/customtexts.json";
};
} // namespace

TEST_F(CustomTextStoreTest, StoresTextExactlyAndLooksUpCaseSensitively) {
    CustomTextStore store(path);
    std::string address = "  台北市信義區\n  市府路1號\n";
    EXPECT_FALSE(store.set("addr", address));
    EXPECT_EQ(store.expansion("addr"), address);
    EXPECT_FALSE(store.expansion("Addr"));
    CustomTextStore reloaded(path);
    EXPECT_EQ(reloaded.expansion("addr"), address);
}

TEST_F(CustomTextStoreTest, RejectsInvalidTriggersAndBlankText) {
    CustomTextStore store(path);
    for (const std::string& trigger :
         {std::string(33, 'a'), std::string("a.b"), std::string(), std::string("ä"), std::string("a b")})
        EXPECT_EQ(store.set(trigger, "x"), StoreError::invalidTrigger) << trigger;
    EXPECT_EQ(store.set("ok", " \n\t\u3000\r\n"), StoreError::emptyText);
    EXPECT_EQ(store.set("ok", ""), StoreError::emptyText);
    EXPECT_TRUE(store.entries().empty());
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_FALSE(store.set(std::string(32, 'a'), "x"));
    EXPECT_FALSE(store.set("A_z-9", "x"));
    EXPECT_EQ(make_error_code(StoreError::emptyText).message(), "empty text");
}

TEST_F(CustomTextStoreTest, EntriesAndFileAreOrderedByTrigger) {
    CustomTextStore store(path);
    ASSERT_FALSE(store.set("zz", "last"));
    ASSERT_FALSE(store.set("AA", "middle"));
    ASSERT_FALSE(store.set("10", "first"));
    std::vector<CustomTextStore::Entry> expected = {{"10", "first"}, {"AA", "middle"}, {"zz", "last"}};
    EXPECT_EQ(store.entries(), expected);
    std::string text = TemporaryFolder::read(path);
    EXPECT_EQ(
        text,
        R"([{"text":"first","trigger":"10"},{"text":"middle","trigger":"AA"},{"text":"last","trigger":"zz"}])");
}

TEST_F(CustomTextStoreTest, OneMalformedEntryVoidsTheFileWhichIsKeptAside) {
    std::string original = R"([{"trigger":"ok","text":"fine"},{"trigger":"bad"}])";
    folder.write("Kelvo/customtexts.json", original);
    CustomTextStore store(path);
    EXPECT_TRUE(store.entries().empty());
    EXPECT_EQ(TemporaryFolder::read(path), original); // loading never touches the file
    ASSERT_FALSE(store.set("new", "text"));
    auto notices = store.takeNotices();
    ASSERT_EQ(notices.size(), 1u);
    const auto copies = folder.filesStartingWith("customtexts.json.unreadable-", "Kelvo");
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(TemporaryFolder::read(copies[0]), original);
    EXPECT_NE(notices[0].message.find(copies[0].filename().string()), std::string::npos);
}

TEST_F(CustomTextStoreTest, InvalidEntriesAreSkippedAndLaterDuplicatesWin) {
    folder.write("Kelvo/customtexts.json",
                 R"([{"trigger":"a","text":"1"},{"trigger":"a.b","text":"2"},)"
                 R"({"trigger":"e","text":""},{"trigger":"a","text":"3","extra":true}])");
    CustomTextStore store(path);
    EXPECT_EQ(store.entries(), (std::vector<CustomTextStore::Entry>{{"a", "3"}}));
    for (const std::string& hostile :
         {std::string(50000, '['), std::string("[{\"trigger\":\"x\",\"text\":\"\xc3\"}]"), std::string("{}"),
          std::string("[1e999]"), std::string("null")}) {
        folder.write("Kelvo/customtexts.json", hostile);
        EXPECT_TRUE(CustomTextStore(path).entries().empty());
    }
}

TEST_F(CustomTextStoreTest, ChangesMergeWithWhatIsOnDisk) {
    CustomTextStore store(path);
    ASSERT_FALSE(store.set("a", "1"));
    folder.write("Kelvo/customtexts.json", R"([{"text":"2","trigger":"b"}])"); // another window's save
    EXPECT_FALSE(store.set("c", "3"));
    EXPECT_EQ(store.entries(), (std::vector<CustomTextStore::Entry>{{"b", "2"}, {"c", "3"}}));
    std::filesystem::remove(path); // removed by hand: the shortcuts are gone, not written back
    EXPECT_FALSE(store.remove("missing"));
    EXPECT_EQ(TemporaryFolder::read(path), "[]");
    EXPECT_TRUE(store.entries().empty());
}

TEST_F(CustomTextStoreTest, FailedSaveIsReportedAndChangesNothing) {
    CustomTextStore store(path);
    ASSERT_FALSE(store.set("a", "1"));
    {
        kelvo::testing::FileSizeLimit limit(1);
        EXPECT_EQ(store.set("b", "a long enough text"), std::errc::file_too_large);
        EXPECT_TRUE(store.remove("a"));
    }
    EXPECT_EQ(store.entries(), (std::vector<CustomTextStore::Entry>{{"a", "1"}}));
    EXPECT_EQ(TemporaryFolder::read(path), R"([{"text":"1","trigger":"a"}])");

    folder.write("blocked", "");
    CustomTextStore unwritable(folder / "blocked/customtexts.json");
    EXPECT_TRUE(unwritable.set("a", "1"));
    EXPECT_TRUE(unwritable.entries().empty());
}
