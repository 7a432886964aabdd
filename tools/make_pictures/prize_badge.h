#pragma once

#include <QImage>

// A prize picture: a gold rosette medal with ribbon tails, the slot number large in its middle,
// 120 x 120 with a transparent surround and no half-transparent edge pixels.
QImage makePrizeBadge(int slot);
