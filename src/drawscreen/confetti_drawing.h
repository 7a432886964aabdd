#pragma once

#include "drawscreen/celebration_scene.h"

#include <QImage>

// Draws a confetti piece into an RGB32 image of the celebration's area, scale pixels of the
// image to a unit of the piece's (the device pixel ratio): a rectangle turned about its centre,
// blended over what is there, its edges antialiased by how much of each pixel they cover.
// Drawn straight into the frame, the pieces cost no painter state and no clipping each.
void drawConfettiPiece(QImage& image, const ConfettiPiece& piece, qreal scale);

// The pixels of the image drawConfettiPiece may change: the piece's bounds at that scale.
QRect confettiPixels(const ConfettiPiece& piece, qreal scale, const QImage& image);
