#pragma once

#include <QImage>
#include <QRect>
#include <QRgb>
#include <QSize>

// The steps of building a rotating image control's picture, free of any widget so each can be
// checked on its own. The key colour is taken as opaque whatever alpha it is given with.

// The side of the square that holds a width x height picture at every angle with a pixel to
// spare: the nearest integer to sqrt((width + 2)^2 + (height + 2)^2).
int uniqueSquareSide(int width, int height);

// Whether angle / 360 is a whole number, so the turn leaves the picture as it is.
bool isWholeTurn(long double angle);

// The picture drawn at its own size over the key colour, alpha blended, as Format_ARGB32: the
// parts it leaves transparent keep the key colour.
QImage pictureOnKey(const QImage& picture, QRgb key);

// A side x side Format_ARGB32 square in the key colour with image copied onto it, centred
// (the offsets halved toward zero) or at the top left.
QImage placeInSquare(const QImage& image, int side, QRgb key, bool center);
// The same in a frame of any size.
QImage placeInFrame(const QImage& image, QSize frame, QRgb key, bool center);

// The control's turned picture from the picture already laid on the key colour: unturned for
// whole turns, else rotateBitmap, then put into its fixed square when uniqueSize is on (into
// frame instead, when one is given).
QImage turnedPicture(const QImage& source, QRgb key, long double angle, bool uniqueSize,
                     bool center, QSize frame = QSize());

// Drawing at the screen's own pixels: the size in device pixels the turned picture is shown
// at (frame) and the size the picture is scaled to before it is turned (picture), so that the
// turned picture needs no stretching. The control is clientSize, ratio device pixels a pixel.
struct DeviceDrawing
{
    QSize picture;
    QSize frame;
};
DeviceDrawing deviceDrawing(QSize pictureSize, QSize clientSize, double ratio, bool uniqueSize,
                            bool stretch);

// The picture smoothly scaled to size, every pixel then fully opaque or fully transparent so
// the colour key leaves no fringe, Format_ARGB32.
QImage scaledHardEdged(const QImage& picture, QSize size);

// The turned picture as painting draws it, in Format_ARGB32_Premultiplied. With transparent on,
// the key colour's pixels become fully transparent so whatever lies beneath shows through.
QImage paintReadyImage(const QImage& image, QRgb key, bool transparent);
// paintReadyImage(placeInFrame(image, frame, key, center), key, transparent) in one pass, with
// no framed copy in between: the spin builds it every tick.
QImage paintReadyInFrame(const QImage& image, QSize frame, QRgb key, bool center, bool transparent);

// Where painting puts an image of imageSize in a client area of clientSize: the whole area when
// stretched, else centred (offsets halved toward zero, negative for a larger image), else at
// the top left at its own size.
QRect paintRectFor(QSize clientSize, QSize imageSize, bool stretch, bool center);
