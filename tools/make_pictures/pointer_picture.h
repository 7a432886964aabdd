#pragma once

#include <QImage>

// The pointer, a tall picture turned about its centre: a hub in the middle and a needle
// pointing straight up to near the top edge, with a short tail. Transparent around it, with no
// half-transparent edge pixels. 203 x 683 pixels, twice the size the layout shows it.
QImage makePointerPicture();
