#include "Dictionary/ReadingTable.hpp"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace kelvo;

TEST(ReadingTable, KeepsEveryKeyWhileGrowingFromTooSmall) {
    std::vector<std::string> keys;
    for (int i = 0; i < 5000; ++i)
        keys.push_back("ㄅ-" + std::to_string(i * 7919));
    ReadingTable table(1);
    for (std::size_t i = 0; i < keys.size(); ++i)
        ASSERT_EQ(table.insert(keys[i]), i);
    for (std::size_t i = 0; i < keys.size(); ++i)
        ASSERT_EQ(table.find(keys[i]), i);
    EXPECT_EQ(table.size(), keys.size());
    EXPECT_EQ(table.find("ㄅ-1"), ReadingTable::absent);
}
