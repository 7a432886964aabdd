#include "draw/excluded_slots.h"

#include <gtest/gtest.h>

TEST(ExcludedSlots, ReadsTheListedSlotsAndWritesThemInOrder)
{
    const std::pair<QByteArray, QByteArray> cases[] = {
        {"1,2", "1,2"},
        {"8,3,1", "1,3,8"},
        {" 2 , 5", "2,5"},
        {"1,1,1", "1"},
        {"1,2,3,4,5,6,7,8", "1,2,3,4,5,6,7,8"},
        // Nothing valid keeps nothing out, the key's own name (a missing key) included.
        {"", ""},
        {"buchuxian", ""},
        {"0,9,-1,x,,2.5", ""},
        {"4,9,abc", "4"},
    };
    for (const auto& [stored, written] : cases) {
        const ExcludedSlots parsed = ExcludedSlots::parse(stored);
        EXPECT_EQ(parsed.text(), written) << stored.constData();
        EXPECT_EQ(ExcludedSlots::parse(parsed.text()), parsed) << stored.constData();
    }
    EXPECT_TRUE(ExcludedSlots::parse("1,2,3,4,5,6,7,8").all());
    EXPECT_FALSE(ExcludedSlots::parse("1,2,3,4,5,6,7").all());
    EXPECT_TRUE(ExcludedSlots::parse("buchuxian").none());
}
