#include "draw/remaining_prizes.h"

#include "draw/spin_rules.h"

#include <gtest/gtest.h>
#include <limits>

namespace {

struct PoolCase
{
    const char* what;
    QList<int32_t> pool;
    std::array<int, 8> expected;
};

} // namespace

TEST(RemainingPrizes, CountsTheEntriesOfEachSlot)
{
    const PoolCase cases[] = {
        {"an empty pool", {}, {0, 0, 0, 0, 0, 0, 0, 0}},
        {"the lower ends of the sectors",
         {0, 26, 71, 114, 158, 204, 248, 294},
         {1, 1, 1, 1, 1, 1, 1, 1}},
        {"the upper ends of the sectors",
         {25, 70, 113, 157, 203, 247, 293, 338},
         {1, 1, 1, 1, 1, 1, 1, 1}},
        {"the stretch left of the top belongs to slot 1",
         {339, 359, 360},
         {3, 0, 0, 0, 0, 0, 0, 0}},
        {"many turns on, counted modulo 360",
         {20000, 20000, 16560 + 100, 360 * 50 + 300},
         {0, 0, 1, 0, 2, 0, 0, 1}},
        {"a negative entry lands by its magnitude", {-26, -339}, {1, 1, 0, 0, 0, 0, 0, 0}},
        {"the ends of the 32-bit range",
         {std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()},
         // 2147483648 mod 360 = 128, 2147483647 mod 360 = 127
         {0, 0, 0, 2, 0, 0, 0, 0}},
    };
    for (const PoolCase& c : cases)
        EXPECT_EQ(remainingPerSlot(c.pool), c.expected) << c.what;
}

TEST(RemainingPrizes, EveryEntryCountsForTheSlotItsStopIsAnnouncedAs)
{
    // The count must agree with the draw's own decision for a quota stop at minus the entry.
    for (int32_t entry = 0; entry < 720; ++entry) {
        const std::array<int, 8> counts = remainingPerSlot({entry + 16560});
        const int slot = prizeSlotForAngle(-static_cast<long double>(entry + 16560));
        for (int k = 0; k < 8; ++k)
            ASSERT_EQ(counts[static_cast<size_t>(k)], k + 1 == slot ? 1 : 0) << entry;
    }
}

TEST(RemainingPrizes, ShowsTheCountAfterTheWordForLeft)
{
    const std::pair<int, QString> cases[] = {
        {0, QStringLiteral("剩0")}, {3, QStringLiteral("剩3")}, {120, QStringLiteral("剩120")}};
    for (const auto& [count, text] : cases)
        EXPECT_EQ(prizesLeftText(count), text);
}
