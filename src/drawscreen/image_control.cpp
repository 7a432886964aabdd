#include "drawscreen/image_control.h"

#include <QPaintEvent>
#include <QPainter>

ImageControl::ImageControl(QWidget* parent) : QWidget(parent) {}

void ImageControl::setPictureFile(const QString& path)
{
    picture_ = QImage();
    pendingFile_ = path;
    update();
}

void ImageControl::setDrawAtDevicePixels(bool on)
{
    devicePixels_ = on;
    shown_ = QImage();
    update();
}

void ImageControl::setPicture(const PictureRead& picture)
{
    setPicture(picture.image);
    // Fitted when painted: start-up sets the pictures before the window has taken its final
    // size, and scaling down the picture read for a larger size is cheap.
    file_ = ShownPicture(picture);
}

QSize ImageControl::shownPixels() const
{
    return (QSizeF(size()) * devicePixelRatioF()).toSize();
}

void ImageControl::fitPictureToScreen()
{
    const QSize pixels = shownPixels();
    if (file_.fits(pixels))
        return;
    // Let go of the picture, so that it can be scaled down over its own pixels.
    picture_ = QImage();
    shown_ = QImage();
    file_.fitTo(pixels);
    picture_ = file_.image();
}

void ImageControl::setPicture(const QImage& picture)
{
    file_ = ShownPicture();
    pendingFile_.clear();
    shown_ = QImage();
    // Premultiplied is what the painter draws fastest; converting once here keeps each paint
    // a plain scaled copy of the area it repaints.
    picture_ = picture.convertToFormat(
        picture.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    update();
}

void ImageControl::drawInParts(QPainter& painter, const QRegion& region, const QImage& image,
                               qreal kx, qreal ky) const
{
    // Rectangle by rectangle: a spin repaints the pointer's outline as many thin bands, and
    // one draw clipped to all of them is split across threads and waits for them.
    for (const QRect& r : region.intersected(rect()))
        painter.drawImage(r, image,
                          QRectF(r.x() * kx, r.y() * ky, r.width() * kx, r.height() * ky));
}

void ImageControl::paintEvent(QPaintEvent* event)
{
    if (!pendingFile_.isEmpty())
        setPicture(QImage(pendingFile_));
    // A change of size or of screen shows the picture at other pixels.
    fitPictureToScreen();
    if (picture_.isNull() || width() <= 0 || height() <= 0)
        return;
    // Only the area being repainted is scaled, so a spin's repaints of the pointer's square
    // cost that square alone, and no second full-size copy of the picture is kept.
    QPainter painter(this);
    if (devicePixels_) {
        const qreal ratio = devicePixelRatioF();
        const QSize pixels = (QSizeF(size()) * ratio).toSize();
        if (shown_.size() != pixels || shown_.devicePixelRatio() != ratio) {
            shown_ = picture_.size() == pixels
                         ? picture_
                         : picture_.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            shown_.setDevicePixelRatio(ratio);
        }
        drawInParts(painter, event->region(), shown_, ratio, ratio);
        return;
    }
    drawInParts(painter, event->region(), picture_, qreal(picture_.width()) / width(),
                qreal(picture_.height()) / height());
}
