#pragma once

#include <QImage>
#include <QPointF>
#include <QRegion>
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

// Where rotateBitmap puts the picture: the size of the turned image and the centres it turns
// about, from which any point of the source maps into the turned image.
struct TurnGeometry
{
    TurnFactors factors;
    int32_t width;
    int32_t height;
    int32_t sourceColumn;
    int32_t sourceRowFromTop;
    int32_t destColumn;
    int32_t destRow;

    // A point of the source, in pixel units with pixel corners at whole numbers, where the
    // turned image shows it, to within a pixel.
    QPointF turned(QPointF sourcePoint) const;
};
TurnGeometry turnGeometry(QSize source, long double angle);

// The pixels of area in dst made what paintReadyInFrame would make them from rotateBitmap's
// turn, the turned image placed at offset in dst: the picture's pixels where the turn covers
// them, around where it shows the key colour or leaves the turned image. The picture must be
// opaque; dst is Format_ARGB32_Premultiplied, and what lies outside area stays as it is.
void turnInto(QImage& dst, QPoint offset, const QImage& source, long double angle, QRgb key,
              QRgb around, const QRegion& area);
