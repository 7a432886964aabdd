#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QSize>

// Picture files made at run time, byte for byte, so that no large picture is kept in the
// repository and each kind a phone or camera makes can be had without an image editor.

// A red picture with its top-left quarter blue: where the quarter ends up tells how it was
// turned.
QImage markedPicture(QSize size);
// Whether image shows the blue quarter at the corner (0 top left, 1 top right, 2 bottom
// right, 3 bottom left) and red at the opposite one.
bool markedAt(const QImage& image, int corner);

// A grey JPEG of any size, a few bits per 8 x 8 block whatever its size: a 200-megapixel one
// is 6 MB.
QByteArray flatJpeg(QSize size);
// A JPEG of image as Qt writes it, baseline or progressive.
QByteArray jpegOf(const QImage& image, bool progressive = false);
// The JPEG with an EXIF segment giving its orientation (1 to 8), and the thumbnail (a JPEG)
// when one is given, as cameras store it.
QByteArray withOrientation(const QByteArray& jpeg, int orientation,
                           const QByteArray& thumbnail = {});

// A PNG of image: RGB, or RGBA with alpha; 8 or 16 bits a channel; interlaced (Adam7) or not.
QByteArray pngOf(const QImage& image, bool alpha, int bitDepth, bool interlaced);
// A black 8-bit grey PNG of any size, a few bits per 258 pixels: 200 megapixels take 2.4 MB.
QByteArray flatPng(QSize size);
// A PNG whose header claims size, with a few bytes of picture data.
QByteArray pngHeaderOnly(QSize size);
