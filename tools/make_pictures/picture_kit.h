#pragma once

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QPointF>
#include <QString>

class QPainter;

// Drawing helpers shared by the picture generators.

// A point at the given distance from centre, in the direction given in degrees turned clockwise
// from straight up: the way the draw measures the pointer's angle.
QPointF pointAtBearing(QPointF centre, double radius, double bearingDegrees);

// A ring segment between two bearings (clockwise from straight up, from < to), the outer arc
// clockwise and the inner one back; rInner 0 gives a pie slice.
QPainterPath wedgePath(QPointF centre, double rInner, double rOuter, double fromBearing,
                       double toBearing);

// The pictures are shown colour-keyed: a half-transparent pixel would be mixed with the key
// colour and leave a grey fringe. Rounds every alpha to 0 or 255, keeping the colour of the
// pixels that stay.
void hardenAlpha(QImage& image);

// Makes every pixel whose centre lies farther than radius from centre fully transparent and
// every other pixel fully opaque.
void cutToCircle(QImage& image, QPointF centre, double radius);

// Bold sans-serif for the numbers.
QFont digitFont(int pixelSize);

// Text centred on a point, filled and outlined (the outline drawn under the fill, so it only
// widens the glyphs).
void drawOutlinedText(QPainter& painter, QPointF centre, const QString& text, const QFont& font,
                      const QBrush& fill, const QColor& outline, double outlineWidth);

// Deterministic numbers in [0, 1) so the generated files are the same on every run.
double nextScatter(quint32& state);
