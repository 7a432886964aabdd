#pragma once

#include <QImage>
#include <QSize>

// Scales image down to size (no side larger than the image's own) by area averaging, as a
// smooth scale does, writing the result over the image's own pixels: no second picture
// exists meanwhile. The result keeps the whole first buffer, so it pays only when most of it
// is still used; shrinkPicture decides. Image must be Format_RGB32 or
// Format_ARGB32_Premultiplied and not shared, else false and the image is left as it was.
bool shrinkInPlace(QImage& image, QSize size);

// image at size, smoothly scaled down: in place when the result keeps more than half the
// pixels (its buffer then wastes less than a copy would cost), else as a new image.
QImage shrinkPicture(QImage image, QSize size);
