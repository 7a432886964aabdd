#pragma once

#include <QImage>

// The wheel, 1090 x 1058 pixels: twice the size of the control that shows it, so that it is
// sharp on a screen of twice the layout's pixels and smoothly scaled down on others. A disc
// centred on the picture, split into the eight prize slots of the sector table and numbered
// 1 to 8; outside the disc fully transparent, with no half-transparent edge pixels.
QImage makeWheelPicture();
