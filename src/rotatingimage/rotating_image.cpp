#include "rotatingimage/rotating_image.h"

#include "rotatingimage/turned_picture.h"

#include <QEvent>
#include <QPainter>

RotatingImage::RotatingImage(QWidget* parent) : QWidget(parent)
{
    resize(105, 105);
}

void RotatingImage::setPicture(const QImage& picture)
{
    picture_ = picture;
    source_ = QImage();
    SettingsChanged();
}

void RotatingImage::setAngle(long double angle)
{
    // Exact comparison: the spin assigns every 10 ms, and an unchanged angle must cost nothing.
    if (angle == angle_)
        return;
    angle_ = angle;
    SettingsChanged();
}

void RotatingImage::setCenter(bool center)
{
    if (center == center_)
        return;
    center_ = center;
    SettingsChanged();
}

void RotatingImage::setStretch(bool stretch)
{
    if (stretch == stretch_)
        return;
    stretch_ = stretch;
    SettingsChanged();
}

void RotatingImage::setTransparent(bool transparent)
{
    if (transparent == transparent_)
        return;
    transparent_ = transparent;
    SettingsChanged();
}

void RotatingImage::setUniqueSize(bool uniqueSize)
{
    if (uniqueSize == uniqueSize_)
        return;
    uniqueSize_ = uniqueSize;
    SettingsChanged();
}

QRgb RotatingImage::keyColor() const
{
    return palette().color(QPalette::Button).rgb();
}

QRect RotatingImage::paintRect() const
{
    return paintRectFor(size(), rotatedImage_.size(), stretch_, center_);
}

void RotatingImage::SettingsChanged()
{
    BuildRotatedImage();
    // Only an opaque image stretched over the whole control hides what lies beneath, so only
    // then may Qt skip repainting the parent there.
    setAttribute(Qt::WA_OpaquePaintEvent, !transparent_ && stretch_ && !paintImage_.isNull());
    if (!painting_)
        update();
}

void RotatingImage::BuildRotatedImage()
{
    ++rebuildCount_;
    if (picture_.width() < 1 || picture_.height() < 1) {
        rotatedImage_ = QImage();
        paintImage_ = QImage();
        source_ = QImage();
        return;
    }
    const QRgb key = keyColor();
    if (source_.isNull() || key != sourceKey_) {
        source_ = pictureOnKey(picture_, key);
        sourceKey_ = key;
    }
    rotatedImage_ = turnedPicture(source_, key, angle_, uniqueSize_, center_);
    paintImage_ = paintReadyImage(rotatedImage_, key, transparent_);
}

void RotatingImage::paintEvent(QPaintEvent*)
{
    if (paintImage_.isNull())
        return;
    struct PaintingFlag
    {
        bool& flag;
        bool saved;
        explicit PaintingFlag(bool& f) : flag(f), saved(f) { flag = true; }
        ~PaintingFlag() { flag = saved; }
    } guard(painting_);
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(paintRect(), paintImage_);
}

void RotatingImage::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    // The key colour follows the palette, which a new parent or a parent's change also brings.
    if (event->type() == QEvent::PaletteChange && !picture_.isNull() && keyColor() != sourceKey_) {
        BuildRotatedImage();
        update();
    }
}
