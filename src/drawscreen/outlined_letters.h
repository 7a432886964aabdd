#pragma once

#include <QColor>
#include <QImage>

// A coverage mask (Format_Alpha8) grown by radius pixels in every direction: what a round pen
// twice as wide stroked along the shape's edge covers together with the shape. Grey levels are
// carried outwards, so the grown edge keeps the shape's antialiasing. Drawing the outline of
// a large text this way takes a small part of the time a stroke of its path does.
QImage grownMask(const QImage& mask, qreal radius);

// Letters given by their coverage mask (Format_Alpha8) in fill over an outline of outline
// pixels around them, premultiplied for painting.
QImage outlinedLetters(const QImage& letters, qreal outline, const QColor& fill,
                       const QColor& outlineColour);
