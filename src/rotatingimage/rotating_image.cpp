#include "rotatingimage/rotating_image.h"

#include "rotatingimage/rotate_bitmap.h"
#include "rotatingimage/turned_area.h"
#include "rotatingimage/turned_picture.h"

#include <QEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <new>

RotatingImage::RotatingImage(QWidget* parent) : QWidget(parent)
{
    resize(105, 105);
}

void RotatingImage::setPicture(const QImage& picture)
{
    maker_ = nullptr;
    file_ = ShownPicture();
    picture_ = picture;
    source_ = QImage();
    SettingsChanged();
}

void RotatingImage::setPicture(const PictureRead& picture)
{
    maker_ = nullptr;
    picture_ = picture.image;
    file_ = ShownPicture(picture);
    source_ = QImage();
    SettingsChanged();
}

void RotatingImage::setPictureMaker(PictureMaker maker)
{
    file_ = ShownPicture();
    maker_ = std::move(maker);
    picture_ = QImage();
    source_ = QImage();
    SettingsChanged();
}

bool RotatingImage::makePicture()
{
    const double ratio = devicePixelRatioF();
    const QSize pixels = devicePixels_ ? QSize(std::max(1, int(std::lround(width() * ratio))),
                                               std::max(1, int(std::lround(height() * ratio))))
                                       : size();
    if (picture_.size() == pixels)
        return false;
    picture_ = maker_(pixels);
    source_ = QImage();
    return true;
}

ShownSize RotatingImage::shownSizeAt(QSize clientSize) const
{
    if (!devicePixels_)
        return {};
    return [clientSize, ratio = devicePixelRatioF(), unique = uniqueSize_,
            stretch = stretch_](QSize pictureSize) {
        return deviceDrawing(pictureSize, clientSize, ratio, unique, stretch).picture;
    };
}

void RotatingImage::setAngle(long double angle)
{
    // Exact comparison: the spin assigns every 10 ms, and an unchanged angle must cost nothing.
    if (angle == angle_)
        return;
    angle_ = angle;
    // A turn alone repaints where the picture was and is, when both are known and the frame
    // stays: the rest of the frame shows the key colour or what lies beneath, before and after.
    const QRegion before = paintedArea_;
    const QRect frameBefore = paintRect();
    BuildRotatedImage();
    markOpaque();
    if (!before.isEmpty() && !paintedArea_.isEmpty() && paintRect() == frameBefore)
        update(before + paintedArea_);
    else
        update();
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

void RotatingImage::setDrawAtDevicePixels(bool on)
{
    if (on == devicePixels_)
        return;
    devicePixels_ = on;
    source_ = QImage();
    SettingsChanged();
}

void RotatingImage::setPictureReleasedAtRest(bool on)
{
    if (on == releaseAtRest_)
        return;
    releaseAtRest_ = on;
    SettingsChanged();
}

const QImage& RotatingImage::rotatedImage() const
{
    if (turnPending_) {
        rotatedImage_ = placeInFrame(rotateBitmap(source_, sourceKey_ | 0xff000000u, angle_),
                                     frame_, sourceKey_, center_);
        turnPending_ = false;
    } else if (restingBuild_) {
        QImage source = source_;
        if (source.isNull()) {
            const QImage picture = file_.isReleased()            ? file_.readAtKeptSize()
                                   : maker_ && picture_.isNull() ? maker_(restingPicture_)
                                                                 : picture_;
            if (!picture.isNull())
                source = sourceOnKey(picture, restingPicture_, sourceKey_);
        }
        if (!source.isNull()) {
            rotatedImage_ = turnedPicture(source, sourceKey_, angle_, uniqueSize_, center_, frame_);
            restingBuild_ = false;
        }
    }
    return rotatedImage_;
}

QRgb RotatingImage::keyColor() const
{
    return palette().color(QPalette::Button).rgb();
}

QRect RotatingImage::paintRect() const
{
    const QSizeF framed = unframed_ ? QSizeF(frame_) / paintImage_.devicePixelRatio()
                                    : paintImage_.deviceIndependentSize();
    const QSize shown = devicePixels_ ? framed.toSize() : rotatedImage_.size();
    return paintRectFor(size(), shown, stretch_, center_);
}

QRectF RotatingImage::paintTarget() const
{
    const QRectF frame = paintRect();
    if (!unframed_)
        return frame;
    // Where the frame puts the picture, at the frame's scale.
    const double kx = frame.width() / frame_.width();
    const double ky = frame.height() / frame_.height();
    return QRectF(frame.x() + framedAt_.x() * kx, frame.y() + framedAt_.y() * ky,
                  paintImage_.width() * kx, paintImage_.height() * ky);
}

void RotatingImage::SettingsChanged()
{
    BuildRotatedImage();
    markOpaque();
    update();
}

void RotatingImage::markOpaque()
{
    // Only an opaque image stretched over the whole control hides what lies beneath, so only
    // then may Qt skip repainting the parent there.
    setAttribute(Qt::WA_OpaquePaintEvent, !transparent_ && stretch_ && !paintImage_.isNull());
}

void RotatingImage::BuildRotatedImage()
{
    ++rebuildCount_;
    paintedArea_ = QRegion();
    turnPending_ = false;
    if (file_.isReleased() && !readPictureAgain()) {
        // What was painted stays, stretched to the new place, until the file can be read.
        builtRatio_ = devicePixelRatioF();
        builtSize_ = size();
        return;
    }
    if (maker_)
        makePicture();
    restingBuild_ = false;
    unframed_ = false;
    if (picture_.width() < 1 || picture_.height() < 1) {
        rotatedImage_ = QImage();
        paintImage_ = QImage();
        source_ = QImage();
        return;
    }
    const QRgb key = keyColor();
    if (!devicePixels_) {
        if (source_.isNull() || key != sourceKey_) {
            source_ = pictureOnKey(picture_, key);
            sourceKey_ = key;
        }
        rotatedImage_ = turnedPicture(source_, key, angle_, uniqueSize_, center_);
        paintImage_ = paintReadyImage(rotatedImage_, key, transparent_);
        return;
    }
    builtRatio_ = devicePixelRatioF();
    builtSize_ = size();
    // A picture from a file is laid out by its whole size, whatever size it is kept at.
    const DeviceDrawing drawing =
        deviceDrawing(file_.isNull() ? picture_.size() : file_.uprightSize(), size(), builtRatio_,
                      uniqueSize_, stretch_);
    // The scaled source depends on the size shown, not on the angle: a spin only turns it.
    if (source_.isNull() || key != sourceKey_ || source_.size() != drawing.picture) {
        source_ = sourceOnKey(picture_, drawing.picture, key);
        sourceKey_ = key;
        outline_ = contentOutline(source_, key);
    }
    hasTurned_ = hasTurned_ || !isWholeTurn(angle_);
    if (uniqueSize_ && !isWholeTurn(angle_)) {
        frame_ = drawing.frame;
        rotatedImage_ = QImage();
        turnPending_ = true;
        const QPolygonF outline = outlineInFrame(drawing.picture);
        const QRegion area = bandsCovering(outline, 2, 16, QRect(QPoint(0, 0), frame_));
        const TurnGeometry turn = turnGeometry(source_.size(), angle_);
        const QPoint offset =
            center_ ? QPoint((frame_.width() - turn.width) / 2, (frame_.height() - turn.height) / 2)
                    : QPoint(0, 0);
        const bool sameFrame = lastTurn_.valid && lastTurn_.source == source_.cacheKey() &&
                               lastTurn_.key == key && lastTurn_.transparent == transparent_ &&
                               turnFrame_.size() == frame_ && !area.isEmpty();
        const QRgb around = transparent_ ? 0u : (key | 0xff000000u);
        // Painting's copy let go first, so that the frame is written in place.
        paintImage_ = QImage();
        if (sameFrame) {
            // Only where the picture was and now is changes; the rest of the frame stays key
            // colour or left out.
            turnInto(turnFrame_, offset, source_, angle_, key, around, lastTurn_.area + area);
        } else if (!area.isEmpty()) {
            turnFrame_ = QImage(frame_, QImage::Format_ARGB32_Premultiplied);
            if (turnFrame_.isNull())
                throw std::bad_alloc();
            turnFrame_.fill(uint(around));
            turnInto(turnFrame_, offset, source_, angle_, key, around, area);
        } else {
            // Framing and preparing in one pass spares a full-size copy.
            turnFrame_ = paintReadyInFrame(rotateBitmap(source_, key | 0xff000000u, angle_), frame_,
                                           key, center_, transparent_);
        }
        lastTurn_ = {!area.isEmpty(), source_.cacheKey(), key, transparent_, area};
        paintImage_ = turnFrame_;
    } else {
        // Only what painting draws is kept: the framed picture is made when asked for, and
        // until the control first turns (the wheel never does, the pointer at its first spin)
        // the picture on the key colour is made again when next needed. Once turned, it is
        // kept, as a spin passes whole turns every few ticks.
        // Left undrawn, the frame around the picture need not be kept either: the picture
        // alone is painted where the frame puts it.
        unframed_ = uniqueSize_ && transparent_;
        QImage rotated =
            turnedPicture(source_, key, angle_, uniqueSize_ && !unframed_, center_, drawing.frame);
        if (!hasTurned_)
            source_ = QImage();
        rotatedImage_ = QImage();
        frame_ = drawing.frame;
        restingPicture_ = drawing.picture;
        restingBuild_ = true;
        paintImage_ = paintReadyImage(rotated, key, transparent_);
        if (unframed_ && center_)
            framedAt_ = QPoint((frame_.width() - rotated.width()) / 2,
                               (frame_.height() - rotated.height()) / 2);
        else
            framedAt_ = QPoint(0, 0);
        // Let go once the layout has settled on the size the picture was read for: start-up
        // lays the screen out more than once before it is shown.
        if (releaseAtRest_ && !hasTurned_ && !file_.isNull() && file_.fits(drawing.picture)) {
            picture_ = QImage();
            file_.release();
        } else if (releaseAtRest_ && !hasTurned_ && maker_) {
            picture_ = QImage(); // made again when next needed
        }
    }
    paintImage_.setDevicePixelRatio(builtRatio_);
    if (uniqueSize_)
        paintedArea_ = turnedArea(drawing.picture);
}

QPolygonF RotatingImage::outlineInFrame(QSize picture) const
{
    if (outline_.isEmpty() || frame_.isEmpty())
        return QPolygonF();
    const TurnGeometry turn = turnGeometry(picture, angle_);
    // Placed in the frame as painting places the turned picture.
    const QPointF offset =
        center_ ? QPointF((frame_.width() - turn.width) / 2, (frame_.height() - turn.height) / 2)
                : QPointF(0, 0);
    QPolygonF shown;
    shown.reserve(outline_.size());
    for (const QPointF& point : outline_)
        shown.append(turn.turned(point) + offset);
    return shown;
}

QRegion RotatingImage::turnedArea(QSize picture) const
{
    QPolygonF shown = outlineInFrame(picture);
    if (shown.isEmpty())
        return QRegion();
    // From the frame's device pixels to the control's.
    const QRectF target = paintRect();
    const double kx = target.width() / frame_.width();
    const double ky = target.height() / frame_.height();
    for (QPointF& point : shown)
        point = QPointF(target.x() + point.x() * kx, target.y() + point.y() * ky);
    // Nearest-pixel sampling strays up to a pixel and a half of the frame; rounding to the
    // control's pixels adds one.
    const double margin = 1 + 2 * std::max(kx, ky);
    return bandsCovering(shown, margin, 8, rect());
}

QImage RotatingImage::sourceOnKey(const QImage& picture, QSize size, QRgb key)
{
    return pictureOnKey(scaledHardEdged(picture, size), key);
}

bool RotatingImage::readPictureAgain()
{
    const QSize shown = devicePixels_ ? deviceDrawing(file_.uprightSize(), size(),
                                                      devicePixelRatioF(), uniqueSize_, stretch_)
                                            .picture
                                      : QSize();
    if (!file_.readAgain(shown))
        return false;
    picture_ = file_.image();
    source_ = QImage();
    return true;
}

bool RotatingImage::fitPictureToScreen()
{
    // Let go at rest, the picture is read at the size shown when it is next built.
    if (file_.isReleased())
        return false;
    // Fitted once shown rather than when set: start-up sets the pictures before the window has
    // taken its final size, and scaling down the picture read for a larger size is cheap.
    const DeviceDrawing drawing =
        deviceDrawing(file_.uprightSize(), size(), devicePixelRatioF(), uniqueSize_, stretch_);
    if (file_.fits(drawing.picture))
        return false;
    // Let go of the picture, so that it can be scaled down over its own pixels.
    picture_ = QImage();
    file_.fitTo(drawing.picture);
    picture_ = file_.image();
    source_ = QImage();
    return true;
}

void RotatingImage::paintEvent(QPaintEvent* event)
{
    // A window moved to a screen of another pixel ratio shows the control at other pixels, and
    // a control resized while hidden is shown at its new size.
    if (devicePixels_ && hasPicture() &&
        (fitPictureToScreen() || devicePixelRatioF() != builtRatio_ || size() != builtSize_))
        BuildRotatedImage();
    if (paintImage_.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const QRectF target = paintTarget();
    const qreal ratio = paintImage_.devicePixelRatio();
    if (target.toAlignedRect() != target || paintImage_.deviceIndependentSize() != target.size()) {
        painter.drawImage(target, paintImage_);
        return;
    }
    // Shown pixel for pixel, it is copied rectangle by rectangle: a turn repaints its outline
    // as many thin bands, and one copy clipped to all of them is split across threads and
    // waits for them.
    const QRect shown = target.toAlignedRect();
    for (const QRect& r : event->region().intersected(shown))
        painter.drawImage(
            r, paintImage_,
            QRectF(QPointF(r.topLeft() - shown.topLeft()) * ratio, QSizeF(r.size()) * ratio));
}

void RotatingImage::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // Drawn at the screen's pixels, the turned image is made for the control's size.
    if (devicePixels_ && hasPicture())
        SettingsChanged();
}

void RotatingImage::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    // The key colour follows the palette, which a new parent or a parent's change also brings.
    if (event->type() == QEvent::PaletteChange && hasPicture() && keyColor() != sourceKey_) {
        BuildRotatedImage();
        update();
    }
}
