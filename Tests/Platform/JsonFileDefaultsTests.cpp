#include "../Support/TemporaryFolder.hpp"
#include "JsonFileDefaults.hpp"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

using namespace kelvo::platform;
using kelvo::testing::TemporaryFolder;

TEST(UserDefaults, TypedReadsGiveTheNeutralValueForOtherTypes) {
    MemoryDefaults defaults;
    defaults.set("flag", true);
    defaults.set("count", 7LL);
    defaults.set("name", std::string("smart"));
    EXPECT_TRUE(defaults.boolean("flag"));
    EXPECT_EQ(defaults.integer("count"), 7);
    EXPECT_EQ(defaults.string("name"), "smart");
    EXPECT_FALSE(defaults.boolean("count"));
    EXPECT_EQ(defaults.integer("flag"), 0);
    EXPECT_EQ(defaults.string("flag"), std::nullopt);
    EXPECT_FALSE(defaults.boolean("missing"));
}

TEST(UserDefaults, RegisteredDefaultsAnswerOnlyWhereTheUserHasNoValue) {
    MemoryDefaults defaults;
    defaults.registerDefaults({{"pageSize", 9LL}, {"learning", true}});
    EXPECT_EQ(defaults.integer("pageSize"), 9);
    defaults.set("pageSize", 7LL);
    EXPECT_EQ(defaults.integer("pageSize"), 7);
    EXPECT_TRUE(defaults.boolean("learning"));
    EXPECT_EQ(defaults.userValues().size(), 1u); // registering writes nothing
}

TEST(JsonFileDefaults, WritesAtomicallyAndReadsOtherWritersChanges) {
    TemporaryFolder folder;
    auto path = folder / "Kelvo/defaults.json";
    JsonFileDefaults defaults(path);
    defaults.registerDefaults({{"pageSize", 9LL}});
    defaults.set("learning", false);
    EXPECT_EQ(nlohmann::json::parse(TemporaryFolder::read(path)), nlohmann::json({{"learning", false}}));

    // Another process (the settings window) rewrites the file: the next read sees it.
    JsonFileDefaults other(path);
    other.set("pageSize", 7LL);
    EXPECT_EQ(defaults.integer("pageSize"), 7);
    EXPECT_FALSE(defaults.boolean("learning"));
    folder.write("Kelvo/defaults.json", R"({"learning": true, "odd": [1, 2], "name": "x"})");
    EXPECT_TRUE(defaults.boolean("learning"));
    EXPECT_EQ(defaults.string("name"), "x");
    EXPECT_EQ(defaults.value("odd"), std::nullopt);
}

TEST(JsonFileDefaults, UnreadableFileIsKeptAsideBeforeBeingReplaced) {
    TemporaryFolder folder;
    folder.write("Kelvo/defaults.json", "not json");
    JsonFileDefaults defaults(folder / "Kelvo/defaults.json");
    EXPECT_FALSE(defaults.boolean("learning"));
    defaults.set("learning", true);
    int aside = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder / "Kelvo"))
        aside += entry.path().filename().string().starts_with("defaults.json.unreadable-");
    EXPECT_EQ(aside, 1);
    EXPECT_TRUE(JsonFileDefaults(folder / "Kelvo/defaults.json").boolean("learning"));
}
