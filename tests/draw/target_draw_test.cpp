#include "draw/key_stop.h"
#include "draw/spin_rules.h"
#include "draw/target_draw.h"

#include <QList>
#include <array>
#include <gtest/gtest.h>

namespace {

constexpr uint32_t Multiplier = 134775813u;

uint32_t inverseOfMultiplier()
{
    uint32_t inverse = Multiplier; // Newton's step doubles the correct low bits each time
    for (int i = 0; i < 5; ++i)
        inverse *= 2u - Multiplier * inverse;
    return inverse;
}

// A clock value whose first draw below 8640 is r.
uint32_t seedDrawing(uint32_t r)
{
    const auto next =
        static_cast<uint32_t>(((uint64_t(r) << 32) + SpinTargetSpread - 1) / SpinTargetSpread);
    return (next - 1u) * inverseOfMultiplier();
}

// The clock gives `first`, then 1, 2, 3 ...
RandomSource scriptedRandom(uint32_t first, int* reads)
{
    return RandomSource([first, reads, n = 0u]() mutable {
        ++*reads;
        return n++ == 0 ? first : n - 1;
    });
}

// How many of the 8640 first draws are kept, by the slot they stop on; every draw that is not
// kept must end on a slot that is left.
std::array<int, 9> keptFirstDraws(const ExcludedSlots& excluded, long double origin)
{
    std::array<int, 9> kept{};
    for (uint32_t r = 0; r < SpinTargetSpread; ++r) {
        int reads = 0;
        RandomSource random = scriptedRandom(seedDrawing(r), &reads);
        const std::optional<TargetDraw> draw = drawSpinTarget(random, excluded, origin);
        const int slot = prizeSlotForAngle(fullyRandomStopAngle(draw->target, origin));
        EXPECT_FALSE(excluded.contains(slot)) << r;
        // The reported seed gives the target again.
        RandomSource replay([] { return 0u; });
        replay.setSeed(draw->seed);
        EXPECT_EQ(SpinTargetBase + static_cast<int32_t>(replay.below(SpinTargetSpread)),
                  draw->target);
        if (draw->target == SpinTargetBase + static_cast<int32_t>(r) && reads == 1)
            ++kept[slot];
    }
    return kept;
}

} // namespace

TEST(TargetDraw, StopAngleFollowsTheTickRuleFromAnyOrigin)
{
    for (const long double origin : {0.0L, -297.0L * 7, -297.0L * 2999}) {
        for (uint32_t r = 0; r < SpinTargetSpread; r += 7) {
            const int32_t target = SpinTargetBase + static_cast<int32_t>(r);
            long double angle = origin;
            int ticks = 0;
            do {
                angle -= SpinStep;
                ++ticks;
            } while (!stopTestFires(target - origin, angle));
            EXPECT_EQ(fullyRandomStopAngle(target, origin), angle) << target;
            EXPECT_EQ(fullyRandomStopTicks(target), ticks) << target;
        }
    }
    EXPECT_EQ(fullyRandomStopTicks(100), 1);
    EXPECT_EQ(fullyRandomStopTicks(-5), 1);
}

// The slots that are left keep their share of the 8640 targets.
TEST(TargetDraw, ExcludedSlotsAreDrawnAgainAndTheOthersKeepTheirShare)
{
    const std::array<int, 9> all = {0, 1188, 1188, 1161, 945, 891, 1188, 1188, 891};
    for (const QByteArray& list : {QByteArray(""), QByteArray("1"), QByteArray("1,2,3"),
                                   QByteArray("1,2,3,4,5,6,7"), QByteArray("2,3,4,5,6,7,8")}) {
        const ExcludedSlots excluded = ExcludedSlots::parse(list);
        std::array<int, 9> expected = all;
        for (int slot = 1; slot <= 8; ++slot)
            if (excluded.contains(slot))
                expected[slot] = 0;
        EXPECT_EQ(keptFirstDraws(excluded, 0), expected) << list.constData();
    }
}

TEST(TargetDraw, ExclusionCountsFromTheAngleOfAKeyPress)
{
    // From the press angle the same target stops elsewhere: the slot is judged from there.
    const long double origin = -297.0L * 13;
    const ExcludedSlots excluded = ExcludedSlots::parse("1,2,3,4,5,6,7");
    const std::array<int, 9> kept = keptFirstDraws(excluded, origin);
    int from0 = 0;
    for (uint32_t r = 0; r < SpinTargetSpread; ++r)
        from0 += prizeSlotForAngle(fullyRandomStopAngle(SpinTargetBase + r, origin)) == 8;
    EXPECT_EQ(kept[8], from0);
    EXPECT_GT(kept[8], 0);
}

TEST(TargetDraw, EndsWithAClockThatNeverMovesAndRefusesWhenAllAreExcluded)
{
    RandomSource stuck([] { return seedDrawing(0); }); // slot 4
    const auto draw = drawSpinTarget(stuck, ExcludedSlots::parse("4"));
    ASSERT_TRUE(draw);
    EXPECT_NE(prizeSlotForAngle(fullyRandomStopAngle(draw->target, 0)), 4);
    EXPECT_FALSE(drawSpinTarget(stuck, ExcludedSlots::parse("1,2,3,4,5,6,7,8")));
}

TEST(KeyStop, QuotaStopKeepsTheEntrysSlotAtLeast46TurnsOn)
{
    for (int presses = 0; presses <= 3000; presses += 37) {
        const long double origin = -297.0L * presses;
        for (const int32_t entry : {16560, 20000, 28417, 100, 0, -100, INT32_MIN}) {
            const int64_t distance = quotaKeyStopDistance(entry, origin);
            const int64_t further = distance - 297 * presses;
            EXPECT_EQ(distance % 360, std::llabs(int64_t(entry)) % 360) << entry;
            EXPECT_GE(further, 46 * 360) << presses << " " << entry;
            EXPECT_LT(further, 47 * 360) << presses << " " << entry;
            EXPECT_EQ(prizeSlotForAngle(-static_cast<long double>(distance)),
                      prizeSlotForAngle(-std::fabs(static_cast<long double>(entry))));
        }
    }
    EXPECT_EQ(quotaKeyStopDistance(20000, 0), 16760);
    EXPECT_EQ(quotaKeyStopDistance(17280, -720), 17280);
}
