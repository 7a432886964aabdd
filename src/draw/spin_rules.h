#pragma once

#include <QByteArray>
#include <cstdint>

// Degrees subtracted from the pointer's angle on every tick of a spin.
inline constexpr int SpinStep = 297;

// Fully random targets run from 18360 to 26999.
inline constexpr int32_t SpinTargetBase = 18360;
inline constexpr uint32_t SpinTargetSpread = 8640;

// The stop test looks one step ahead: with the angle just set, the spin stops when a further
// step would pass minus the target. Formed in extended precision.
inline bool stopTestFires(long double target, long double angle)
{
    return target + angle - SpinStep < 0;
}

// The shortest decimal text of an angle, as the prize decision reads it ("-18117").
QByteArray shortestDecimalText(long double angle);

// The prize slot the pointer shows at angle: the angle's decimal text as a whole number, its
// absolute value modulo 360 looked up in the sector table. Raises AppError when the angle is
// not a whole number in the 32-bit range.
int prizeSlotForAngle(long double angle);
