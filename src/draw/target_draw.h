#pragma once

#include "draw/excluded_slots.h"
#include "draw/random_source.h"

#include <cstdint>
#include <optional>

// The ticks a fully random spin with target takes, counted from where the count began: the
// first k >= 1 with 297 * (k + 1) > target.
int fullyRandomStopTicks(int64_t target);

// The angle a fully random spin with target ends at when the count began at origin (0 at the
// start of a spin, the pointer's angle at the press of a key-stop spin).
long double fullyRandomStopAngle(int32_t target, long double origin);

// A fully random target and the seed it was drawn from: setSeed(seed) then one draw below
// 8640 gives it again.
struct TargetDraw
{
    int32_t target = 0;
    uint32_t seed = 0;
};

// Reseeds and draws a target from 18360 to 26999; while the slot that target would stop on,
// counted from origin, is excluded, reseeds and draws again. The slots left keep their odds
// relative to each other. Excluding nothing draws exactly once; excluding every slot draws
// nothing.
std::optional<TargetDraw> drawSpinTarget(RandomSource& random, const ExcludedSlots& excluded,
                                         long double origin = 0);
