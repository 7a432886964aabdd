// The rules of a spin without any widget: where each slot lies on the wheel, which slot an
// angle shows, when a spin stops, and the random source the targets come from.
#include "draw/random_source.h"
#include "draw/sector_table.h"
#include "draw/spin_rules.h"

#include <gtest/gtest.h>

#include <array>
#include <utility>

TEST(SectorTable, BoundariesFallWhereTheWheelIsDrawn)
{
    const std::pair<int, int> cases[] = {
        {0, 1},   {25, 1},  {26, 2},  {70, 2},  {71, 3},  {113, 3}, {114, 4}, {157, 4}, {158, 5},
        {203, 5}, {204, 6}, {247, 6}, {248, 7}, {293, 7}, {294, 8}, {338, 8}, {339, 1}, {359, 1}};
    for (const auto& [c, slot] : cases)
        EXPECT_EQ(prizeSlotForDegrees(c), slot) << c;
}

TEST(PrizeDecision, UsesTheAbsoluteAngleModulo360)
{
    EXPECT_EQ(prizeSlotForAngle(-18117.0L), 4); // c = 117
    EXPECT_EQ(prizeSlotForAngle(-26730.0L), 3); // c = 90
    EXPECT_EQ(prizeSlotForAngle(-20000.0L), 5); // c = 200
    EXPECT_EQ(prizeSlotForAngle(-23760.0L), 1); // c = 0
    EXPECT_EQ(prizeSlotForAngle(339.0L), 1);
    EXPECT_EQ(shortestDecimalText(-20000.0L), QByteArray("-20000"));
    EXPECT_EQ(shortestDecimalText(-0.5L), QByteArray("-0.5"));
    EXPECT_THROW(prizeSlotForAngle(-0.5L), std::exception);
}

// Ticks of a fully random spin and the angle it ends at, by the stop rule alone.
static std::pair<int, long double> simulate(int32_t target)
{
    long double angle = 0;
    for (int tick = 1;; ++tick) {
        angle -= SpinStep;
        if (stopTestFires(target, angle))
            return {tick, angle};
    }
}

TEST(StopRule, FullyRandomTargetsStopOneStepAhead)
{
    EXPECT_EQ(simulate(18360), std::make_pair(61, -18117.0L));
    EXPECT_EQ(simulate(26999), std::make_pair(90, -26730.0L));
    for (int32_t t = 23760; t <= 24056; ++t)
        EXPECT_EQ(simulate(t), std::make_pair(80, -23760.0L)) << t;
    EXPECT_EQ(simulate(20000).first, 67);
    EXPECT_EQ(simulate(100).first, 1);
}

TEST(StopRule, AllTargetsGiveTheKnownShareOfEachSlot)
{
    std::array<int, 9> count{};
    for (uint32_t r = 0; r < SpinTargetSpread; ++r)
        ++count[prizeSlotForAngle(simulate(SpinTargetBase + static_cast<int32_t>(r)).second)];
    EXPECT_EQ(count, (std::array<int, 9>{0, 1188, 1188, 1161, 945, 891, 1188, 1188, 891}));
}

TEST(RandomSource, IsTheSpecifiedCongruentialGenerator)
{
    RandomSource random([] { return 1u; });
    random.reseed();
    EXPECT_EQ(random.below(8640), static_cast<uint32_t>((uint64_t(134775814u) * 8640) >> 32));
    EXPECT_EQ(random.seed(), 134775814u);
    random.setSeed(0xFFFFFFFFu);
    random.below(10);
    EXPECT_EQ(random.seed(), static_cast<uint32_t>(0xFFFFFFFFu * 134775813u + 1u));
    EXPECT_EQ(random.below(0), 0u);
    random.setSeed(7);
    const int32_t drawn = random.inRange(46, 79);
    EXPECT_GE(drawn, 46);
    EXPECT_LT(drawn, 79);
}
