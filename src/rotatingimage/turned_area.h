#pragma once

#include <QImage>
#include <QPolygonF>
#include <QRect>
#include <QRegion>
#include <QRgb>

// The part of a turning picture that is more than key colour, as a region to repaint: a spin
// then repaints where the pointer was and is, not the whole square it turns in.

// The convex outline of the pixels of a picture on the key colour that are not key colour, in
// the picture's pixel units with pixel corners at whole numbers; empty when there are none.
QPolygonF contentOutline(const QImage& onKey, QRgb key);

// Bands bandHeight high, one rectangle each, that together cover the convex polygon grown by
// margin on every side, within bounds.
QRegion bandsCovering(const QPolygonF& convex, qreal margin, int bandHeight, const QRect& bounds);
