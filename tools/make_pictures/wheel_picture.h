#pragma once

#include <QImage>

// The wheel, 545 x 529 pixels: the size of the control that shows it, so it is drawn 1:1. A disc
// centred on the picture, split into the eight prize slots of the sector table and numbered
// 1 to 8; outside the disc fully transparent, with no half-transparent edge pixels.
QImage makeWheelPicture();
