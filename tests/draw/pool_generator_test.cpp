#include "draw/random_source.h"
#include "draw/spin_rules.h"
#include "draw/prize_pool.h"

#include <gtest/gtest.h>
#include <random>
#include <set>

namespace {

RandomSource fixedSeed(uint32_t seed)
{
    return RandomSource([seed] { return seed; });
}

int offsetOf(int32_t entry)
{
    return entry % 360;
}

} // namespace

// Reference values worked out from the generator's definition: reseed, then turns from
// 46 + below(33), then the offset from the slot's first degree + below(width).
TEST(PoolGenerator, GivesTheExactEntriesOfAPinnedSeed)
{
    RandomSource zero = fixedSeed(0);
    EXPECT_EQ(generatePool({1, 1, 1, 1, 1, 1, 1, 1}, zero),
              QList<int32_t>({16560, 16587, 16632, 16675, 16719, 16765, 16809, 16855}));

    RandomSource high = fixedSeed(0xFFFFFFFFu);
    EXPECT_EQ(generatePool({1, 1, 1, 1, 1, 1, 1, 1}, high),
              QList<int32_t>({27725, 27754, 27799, 27842, 27887, 27932, 27977, 28022}));
}

TEST(PoolGenerator, ReseedsBeforeEveryEntry)
{
    int reseeds = 0;
    RandomSource random([&] {
        ++reseeds;
        return 123456789u;
    });
    const QList<int32_t> pool = generatePool({2, 0, 0, 0, 0, 0, 0, 3}, random);

    EXPECT_EQ(reseeds, 5);
    ASSERT_EQ(pool.size(), 5);
    // The same clock reading gives the same entry.
    EXPECT_EQ(pool[0], 22689);
    EXPECT_EQ(pool[1], 22689);
    EXPECT_EQ(pool[2], 22991);
    EXPECT_EQ(pool[4], 22991);
}

TEST(PoolGenerator, ZeroOrNegativeQuantitiesGiveNoEntries)
{
    RandomSource random;
    EXPECT_TRUE(generatePool({0, 0, 0, 0, 0, 0, 0, 0}, random).isEmpty());
    EXPECT_TRUE(generatePool({0, -3, 0, 0, 0, 0, 0, -1}, random).isEmpty());
}

TEST(PoolGenerator, PlacesASingleFirstPrizeInsideSlotOne)
{
    RandomSource random;
    const QList<int32_t> pool = generatePool({1, 0, 0, 0, 0, 0, 0, 0}, random);
    ASSERT_EQ(pool.size(), 1);
    EXPECT_GE(pool[0], 46 * 360);
    EXPECT_LE(pool[0], 78 * 360 + 24);
    EXPECT_LE(offsetOf(pool[0]), 24);
}

TEST(PoolGenerator, PlacesTwoLastPrizesInsideSlotEight)
{
    RandomSource random;
    const QList<int32_t> pool = generatePool({0, 0, 0, 0, 0, 0, 0, 2}, random);
    ASSERT_EQ(pool.size(), 2);
    for (const int32_t entry : pool) {
        EXPECT_GE(offsetOf(entry), 294);
        EXPECT_LE(offsetOf(entry), 337);
    }
}

TEST(PoolGenerator, GeneratesTheLargestPoolGroupedBySlot)
{
    RandomSource random;
    const QList<int32_t> pool =
        generatePool({1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000}, random);
    ASSERT_EQ(pool.size(), 8000);
    for (int i = 0; i < pool.size(); ++i)
        ASSERT_EQ(prizeSlotForAngle(-pool[i]), i / 1000 + 1) << "entry " << i;
}

// Whatever the clock says, the spin's prize decision announces the slot each entry was made
// for, and the offsets cover each slot's range except its last degree.
TEST(PoolGenerator, EveryEntryIsAnnouncedAsItsOwnSlotAcrossManySeeds)
{
    std::mt19937 clock(20240607u);
    RandomSource random([&] { return static_cast<uint32_t>(clock()); });
    const std::set<int> neverUsed = {25, 70, 113, 157, 203, 247, 293, 338};
    std::array<int, 8> lowest;
    std::array<int, 8> highest;
    lowest.fill(360);
    highest.fill(-1);

    for (int round = 0; round < 300; ++round) {
        const QList<int32_t> pool = generatePool({5, 5, 5, 5, 5, 5, 5, 5}, random);
        ASSERT_EQ(pool.size(), 40);
        for (int i = 0; i < pool.size(); ++i) {
            const int32_t entry = pool[i];
            const int slot = i / 5 + 1;
            ASSERT_EQ(prizeSlotForAngle(-entry), slot) << entry;
            ASSERT_GE(entry, 16560);
            ASSERT_LE(entry, 28417);
            const int offset = offsetOf(entry);
            ASSERT_EQ(neverUsed.count(offset), 0u) << entry;
            ASSERT_LT(offset, 339) << entry;
            lowest[slot - 1] = std::min(lowest[slot - 1], offset);
            highest[slot - 1] = std::max(highest[slot - 1], offset);
        }
    }
    EXPECT_EQ(lowest, (std::array<int, 8>{0, 26, 71, 114, 158, 204, 248, 294}));
    EXPECT_EQ(highest, (std::array<int, 8>{24, 69, 112, 156, 202, 246, 292, 337}));
}

TEST(PoolGenerator, UsesEveryNumberOfTurnsFrom46To78)
{
    std::mt19937 clock(7u);
    RandomSource random([&] { return static_cast<uint32_t>(clock()); });
    std::set<int> turns;
    for (const int32_t entry : generatePool({400, 0, 0, 0, 0, 0, 0, 400}, random))
        turns.insert(entry / 360);
    EXPECT_EQ(*turns.begin(), 46);
    EXPECT_EQ(*turns.rbegin(), 78);
    EXPECT_EQ(turns.size(), 33u);
}

TEST(PoolFile, WritesEachEntryWithCrLfAndNothingForAnEmptyPool)
{
    EXPECT_EQ(poolFileBytes({16560, 28417}), QByteArray("16560\r\n28417\r\n"));
    EXPECT_TRUE(poolFileBytes({}).isEmpty());
}
