#include "draw/target_draw.h"

#include "draw/spin_rules.h"

#include <QSet>
#include <algorithm>

int fullyRandomStopTicks(int64_t target)
{
    return target < 0 ? 1 : static_cast<int>(std::max<int64_t>(1, target / SpinStep));
}

long double fullyRandomStopAngle(int32_t target, long double origin)
{
    return origin - static_cast<long double>(SpinStep) * fullyRandomStopTicks(target);
}

std::optional<TargetDraw> drawSpinTarget(RandomSource& random, const ExcludedSlots& excluded,
                                         long double origin)
{
    if (excluded.all())
        return std::nullopt;
    // A clock that repeats a seed would repeat an excluded target for ever: from a seed already
    // tried, the generator goes on from where it stands instead. Its sequence passes every
    // target, and a slot that is left always has one within reach of any origin.
    QSet<uint32_t> triedSeeds;
    random.reseed();
    for (;;) {
        TargetDraw draw;
        draw.seed = random.seed();
        draw.target = SpinTargetBase + static_cast<int32_t>(random.below(SpinTargetSpread));
        if (!excluded.contains(prizeSlotForAngle(fullyRandomStopAngle(draw.target, origin))))
            return draw;
        triedSeeds.insert(draw.seed);
        const uint32_t advanced = random.seed();
        random.reseed();
        if (triedSeeds.contains(random.seed()))
            random.setSeed(advanced);
    }
}
