#include "../Support/TemporaryFolder.hpp"
#include "JsonFileDefaults.hpp"

#include <gtest/gtest.h>
#include <limits>
#include <nlohmann/json.hpp>
#include <set>
#include <sys/stat.h>

using namespace kelvo::platform;
using kelvo::testing::TemporaryFolder;

TEST(JsonFileDefaults, WritesAtomicallyAndReadsOtherWritersChanges) {
    TemporaryFolder folder;
    auto path = folder / "Kelvo/defaults.json";
    JsonFileDefaults defaults(path);
    defaults.registerDefaults({{"pageSize", 9LL}});
    defaults.set("learning", false);
    // Registered defaults answer where the user has no value, and are never written.
    EXPECT_EQ(nlohmann::json::parse(TemporaryFolder::read(path)), nlohmann::json({{"learning", false}}));
    EXPECT_EQ(defaults.integer("pageSize"), 9);

    // Another process (the settings window) rewrites the file: the next read sees it, and the
    // revision readers compare before reading again has changed.
    const auto before = defaults.revision();
    EXPECT_EQ(defaults.revision(), before);
    JsonFileDefaults other(path);
    other.set("pageSize", 7LL);
    EXPECT_NE(defaults.revision(), before);
    EXPECT_EQ(defaults.integer("pageSize"), 7);
    EXPECT_FALSE(defaults.boolean("learning"));
    folder.write("Kelvo/defaults.json", R"({"learning": true, "odd": [1, 2], "name": "x"})");
    EXPECT_TRUE(defaults.boolean("learning"));
    EXPECT_EQ(defaults.string("name"), "x");
    EXPECT_EQ(defaults.value("odd"), std::nullopt);
}

TEST(JsonFileDefaults, AWriteChangesOnlyItsKeyAndKeepsWhatItDoesNotKnow) {
    TemporaryFolder folder;
    auto path = folder.write("Kelvo/defaults.json",
                             R"({"zoom": 1.5, "list": [1], "none": null, "future": {"a": 1}})");
    JsonFileDefaults first(path);
    JsonFileDefaults second(path); // the settings window in another process
    first.set("learning", false);
    second.set("pageSize", 7LL); // not written over the other's change
    auto json = nlohmann::json::parse(TemporaryFolder::read(path));
    EXPECT_EQ(json["zoom"], 1.5);
    EXPECT_EQ(json["list"], nlohmann::json::array({1}));
    EXPECT_TRUE(json["none"].is_null());
    EXPECT_EQ(json["future"]["a"], 1);
    EXPECT_EQ(json["learning"], false);
    EXPECT_EQ(json["pageSize"], 7);
    EXPECT_TRUE(first.takeNotices().empty());
}

TEST(JsonFileDefaults, UnusableFilesAreCopiedAsideEachUnderItsOwnName) {
    TemporaryFolder folder;
    auto path = folder / "Kelvo/defaults.json";
    JsonFileDefaults defaults(path);
    for (const char* bad : {"not json", "[1, 2]"}) {
        folder.write("Kelvo/defaults.json", bad);
        EXPECT_FALSE(JsonFileDefaults(path).boolean("learning")); // read as no values
        defaults.set("learning", true);
        EXPECT_TRUE(JsonFileDefaults(path).boolean("learning"));
    }
    std::set<std::string> copies;
    for (const auto& copy : folder.filesStartingWith("defaults.json.unreadable-", "Kelvo"))
        copies.insert(TemporaryFolder::read(copy));
    EXPECT_EQ(copies, (std::set<std::string>{"not json", "[1, 2]"})); // same second, two copies
    EXPECT_EQ(defaults.takeNotices().size(), 2u);
}

TEST(JsonFileDefaults, WhatCannotBeReadIsNeverReplacedAndAFifoNeverBlocks) {
    TemporaryFolder folder;
    std::filesystem::create_directories(folder / "Kelvo");
    auto path = folder / "Kelvo/defaults.json";
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    JsonFileDefaults defaults(path); // returns at once
    defaults.registerDefaults({{"pageSize", 9LL}});
    EXPECT_EQ(defaults.integer("pageSize"), 9);
    defaults.set("pageSize", 5LL);
    EXPECT_EQ(defaults.integer("pageSize"), 5); // in effect for this process
    EXPECT_TRUE(std::filesystem::is_fifo(path));
    auto notices = defaults.takeNotices();
    ASSERT_EQ(notices.size(), 2u); // cannot read, cannot save
    EXPECT_NE(notices[0].message.find("不是一般檔案"), std::string::npos);
    // Settings are not saved again by themselves, unlike learned data.
    EXPECT_NE(notices[1].message.find("不會自動重試"), std::string::npos) << notices[1].message;
    EXPECT_EQ(notices[1].message.find("會再試"), std::string::npos);
}

TEST(JsonFileDefaults, NumbersBeyondTheIntegerRangeDoNotWrap) {
    TemporaryFolder folder;
    folder.write("Kelvo/defaults.json", R"({"pageSize": 18446744073709551615, "low": -9223372036854775808})");
    JsonFileDefaults defaults(folder / "Kelvo/defaults.json");
    EXPECT_EQ(defaults.integer("pageSize"), std::numeric_limits<long long>::max());
    EXPECT_EQ(defaults.integer("low"), std::numeric_limits<long long>::min());
}
