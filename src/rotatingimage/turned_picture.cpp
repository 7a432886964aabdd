#include "rotatingimage/turned_picture.h"

#include "rotatingimage/rotate_bitmap.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

namespace {

// Key colours are always opaque; an alpha given with one is ignored.
QRgb opaque(QRgb colour)
{
    return colour | 0xff000000u;
}

QImage filledImage(int width, int height, QImage::Format format, QRgb key)
{
    QImage image(width, height, format);
    if (image.isNull())
        throw std::bad_alloc();
    image.fill(uint(opaque(key)));
    return image;
}

} // namespace

int uniqueSquareSide(int width, int height)
{
    const double w = double(width) + 2;
    const double h = double(height) + 2;
    // Never exactly halfway: a square root of an integer cannot end in .5.
    return int(std::lround(std::sqrt(w * w + h * h)));
}

bool isWholeTurn(long double angle)
{
    const long double turns = angle / 360;
    return std::isfinite(turns) && turns == std::trunc(turns);
}

QImage pictureOnKey(const QImage& picture, QRgb key)
{
    // RGB32 keeps every pixel opaque while painting takes its fast path; its 0xffRRGGBB values
    // are exactly what ARGB32 holds for opaque pixels.
    QImage image = filledImage(picture.width(), picture.height(), QImage::Format_RGB32, key);
    {
        QPainter painter(&image);
        painter.drawImage(0, 0, picture);
    }
    image.reinterpretAsFormat(QImage::Format_ARGB32);
    return image;
}

QImage placeInSquare(const QImage& image, int side, QRgb key, bool center)
{
    return placeInFrame(image, QSize(side, side), key, center);
}

QImage placeInFrame(const QImage& image, QSize frame, QRgb key, bool center)
{
    QImage square = filledImage(frame.width(), frame.height(), QImage::Format_ARGB32, key);
    const QImage src = image.convertToFormat(QImage::Format_ARGB32);
    const QPoint offset =
        center ? QPoint((frame.width() - src.width()) / 2, (frame.height() - src.height()) / 2)
               : QPoint(0, 0);
    const QRect target = QRect(offset, src.size()).intersected(square.rect());
    if (target.isEmpty())
        return square;
    const qsizetype bytes = qsizetype(target.width()) * 4;
    for (int y = target.top(); y <= target.bottom(); ++y) {
        const uchar* from =
            src.constScanLine(y - offset.y()) + qsizetype(target.left() - offset.x()) * 4;
        std::memcpy(square.scanLine(y) + qsizetype(target.left()) * 4, from, bytes);
    }
    return square;
}

QImage turnedPicture(const QImage& source, QRgb key, long double angle, bool uniqueSize,
                     bool center, QSize frame)
{
    if (source.width() < 1 || source.height() < 1)
        return QImage();
    QImage turned = isWholeTurn(angle) ? source.convertToFormat(QImage::Format_ARGB32)
                                       : rotateBitmap(source, opaque(key), angle);
    if (!uniqueSize)
        return turned;
    if (frame.isValid() && !frame.isEmpty())
        return placeInFrame(turned, frame, key, center);
    return placeInSquare(turned, uniqueSquareSide(source.width(), source.height()), key, center);
}

DeviceDrawing deviceDrawing(QSize pictureSize, QSize clientSize, double ratio, bool uniqueSize,
                            bool stretch)
{
    if (pictureSize.isEmpty())
        return {};
    const int side = uniqueSquareSide(pictureSize.width(), pictureSize.height());
    const QSize own = uniqueSize ? QSize(side, side) : pictureSize;
    const QSize shown = stretch ? clientSize : own;
    const QSize frame(std::max(1, int(std::lround(shown.width() * ratio))),
                      std::max(1, int(std::lround(shown.height() * ratio))));
    const double kx = double(frame.width()) / own.width();
    const double ky = double(frame.height()) / own.height();
    return {QSize(std::max(1, int(std::lround(pictureSize.width() * kx))),
                  std::max(1, int(std::lround(pictureSize.height() * ky)))),
            frame};
}

QImage scaledHardEdged(const QImage& picture, QSize size)
{
    QImage scaled = picture.size() == size
                        ? picture.convertToFormat(QImage::Format_ARGB32)
                        : picture.convertToFormat(QImage::Format_ARGB32_Premultiplied)
                              .scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                              .convertToFormat(QImage::Format_ARGB32);
    if (scaled.isNull())
        throw std::bad_alloc();
    for (int y = 0; y < scaled.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(scaled.scanLine(y));
        for (int x = 0; x < scaled.width(); ++x)
            line[x] = qAlpha(line[x]) >= 128 ? (line[x] | 0xff000000u) : 0u;
    }
    return scaled;
}

QImage paintReadyImage(const QImage& image, QRgb key, bool transparent)
{
    if (image.isNull())
        return QImage();
    const QImage src = image.convertToFormat(QImage::Format_ARGB32);
    QImage ready(src.size(), QImage::Format_ARGB32_Premultiplied);
    if (ready.isNull())
        throw std::bad_alloc();
    const int width = src.width();
    const QRgb keyPixel = opaque(key);
    // A turned picture is opaque (it was drawn on the opaque key colour), so the usual work is
    // a plain select the compiler vectorises; premultiplying waits until a pixel needs it.
    const QRgb cut = transparent ? keyPixel : 0;
    QRgb alphaOfAll = 0xFF000000u;
    for (int y = 0; y < src.height(); ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        QRgb* out = reinterpret_cast<QRgb*>(ready.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const QRgb pixel = in[x];
            alphaOfAll &= pixel;
            out[x] = (transparent && pixel == cut) ? 0u : pixel;
        }
    }
    if ((alphaOfAll >> 24) != 0xFF) {
        for (int y = 0; y < ready.height(); ++y) {
            QRgb* out = reinterpret_cast<QRgb*>(ready.scanLine(y));
            for (int x = 0; x < width; ++x)
                out[x] = qPremultiply(out[x]);
        }
    }
    return ready;
}

QImage paintReadyInFrame(const QImage& image, QSize frame, QRgb key, bool center, bool transparent)
{
    QImage ready(frame, QImage::Format_ARGB32_Premultiplied);
    if (ready.isNull())
        throw std::bad_alloc();
    const QRgb keyPixel = opaque(key);
    // The frame around the image is key colour, which is opaque: left out or kept as it is.
    const QRgb around = transparent ? 0u : keyPixel;
    ready.fill(uint(around));
    const QImage src = image.convertToFormat(QImage::Format_ARGB32);
    const QPoint offset =
        center ? QPoint((frame.width() - src.width()) / 2, (frame.height() - src.height()) / 2)
               : QPoint(0, 0);
    const QRect target = QRect(offset, src.size()).intersected(ready.rect());
    if (target.isEmpty())
        return ready;
    const QRgb cut = transparent ? keyPixel : 0;
    QRgb alphaOfAll = 0xFF000000u;
    for (int y = target.top(); y <= target.bottom(); ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(src.constScanLine(y - offset.y())) +
                         (target.left() - offset.x());
        QRgb* out = reinterpret_cast<QRgb*>(ready.scanLine(y)) + target.left();
        for (int x = 0; x < target.width(); ++x) {
            const QRgb pixel = in[x];
            alphaOfAll &= pixel;
            out[x] = (transparent && pixel == cut) ? 0u : pixel;
        }
    }
    if ((alphaOfAll >> 24) != 0xFF) {
        for (int y = target.top(); y <= target.bottom(); ++y) {
            QRgb* out = reinterpret_cast<QRgb*>(ready.scanLine(y));
            for (int x = target.left(); x <= target.right(); ++x)
                out[x] = qPremultiply(out[x]);
        }
    }
    return ready;
}

QRect paintRectFor(QSize clientSize, QSize imageSize, bool stretch, bool center)
{
    if (stretch)
        return QRect(QPoint(0, 0), clientSize);
    if (center)
        return QRect(QPoint((clientSize.width() - imageSize.width()) / 2,
                            (clientSize.height() - imageSize.height()) / 2),
                     imageSize);
    return QRect(QPoint(0, 0), imageSize);
}
