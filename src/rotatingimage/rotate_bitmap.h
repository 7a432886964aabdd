#pragma once

#include <QImage>
#include <QRgb>
#include <cstdint>

// An angle in degrees brought into [-180, 180] the way repeated subtraction (while above 180)
// or addition (while below -180) of 360 would: 180 and -180 stay, -20000 becomes 160.
long double reduceAngle(long double angle);

// sin and cos of -a degrees, each times 65536 and truncated toward zero: the 16.16 fixed-point
// factors of the turn. A quarter turn gives exactly 0 and +/-65536.
struct TurnFactors
{
    int32_t sine;
    int32_t cosine;
};
TurnFactors turnFactors(long double reducedAngle);

// The picture turned by angle degrees about its centre, counter-clockwise on screen for a
// positive angle, as a new Format_ARGB32 image just large enough for the turned picture.
// Nearest-pixel inverse mapping in integer 16.16 fixed point; the 32-bit pixel values are
// copied unchanged and every pixel not covered by the picture is background. Turns by 0, +/-90
// and +/-180 degrees move every pixel to exactly one place. Meant for turned sizes below
// 32768 pixels.
QImage rotateBitmap(const QImage& source, QRgb background, long double angle);
