#pragma once

#include "datafiles/shown_picture.h"

#include <QImage>
#include <QPolygonF>
#include <QRegion>
#include <QRect>
#include <QRectF>
#include <QRgb>
#include <QWidget>
#include <functional>

// An image control that shows its picture turned by any angle about the picture's centre.
// It keeps one ready turned image, rebuilt at once whenever the picture, the angle, a layout
// setting or the key colour changes (a turn alone mends it where the picture was and is, and
// repaints only there); painting only draws it. The key colour is
// the palette's button colour (taken from the parent unless set), which fills what the turned
// picture leaves uncovered and, with Transparent on, is left undrawn. The control draws no
// background of its own and leaves mouse events to its parent.
class RotatingImage : public QWidget
{
    Q_OBJECT

public:
    explicit RotatingImage(QWidget* parent = nullptr);

    // Empty while let go at rest (setPictureReleasedAtRest).
    const QImage& picture() const { return picture_; }
    void setPicture(const QImage& picture);
    // A picture read from its file at the size it is turned at (shownSizeAt). Drawn at the
    // screen's pixels, it is kept at that size and scaled down or read again from the file
    // when the control's size or the screen changes.
    void setPicture(const PictureRead& picture);
    // A picture drawn rather than read: maker draws it at the device pixels it is shown at, each
    // time the control is built at another size or on another screen, so it is as sharp at 4K
    // as at 1080p. Without drawing at the screen's pixels, it is drawn at the control's size.
    using PictureMaker = std::function<QImage(QSize pixels)>;
    void setPictureMaker(PictureMaker maker);
    // The device pixels a picture is turned at when the control is clientSize, from the
    // picture's own size; without drawing at the screen's pixels, the picture's own size.
    ShownSize shownSizeAt(QSize clientSize) const;

    // Degrees, counter-clockwise on screen when positive; kept exactly as assigned.
    long double angle() const { return angle_; }
    void setAngle(long double angle);

    bool center() const { return center_; }
    void setCenter(bool center);
    bool stretch() const { return stretch_; }
    void setStretch(bool stretch);
    bool transparent() const { return transparent_; }
    void setTransparent(bool transparent);
    // One square size for every angle (on by default).
    bool uniqueSize() const { return uniqueSize_; }
    void setUniqueSize(bool uniqueSize);

    // Draws at the screen's own pixels (off by default): the picture is scaled smoothly to the
    // size it is shown at, the control's size times the device pixel ratio when stretched,
    // and turned at that size, so painting copies it pixel for pixel instead of stretching.
    bool drawsAtDevicePixels() const { return devicePixels_; }
    void setDrawAtDevicePixels(bool on);

    // For a control that does not turn (the wheel; off by default): once built unturned at the
    // screen's pixels, a picture read from its file is let go and only what painting draws is
    // kept. It is read from the file again when the control must be built anew (another size,
    // screen, key colour, setting or angle); where the file can no longer be read, the control
    // goes on painting what it painted.
    bool pictureReleasedAtRest() const { return releaseAtRest_; }
    void setPictureReleasedAtRest(bool on);

    // The turned picture on the key colour, Format_ARGB32; 0 x 0 for an empty picture.
    const QImage& rotatedImage() const;
    // The colour behind the picture and left out when transparent (opaque, 0xffRRGGBB).
    QRgb keyColor() const;
    // Where painting draws rotatedImage() in the client area.
    QRect paintRect() const;
    // How often the turned image has been rebuilt.
    int rebuildCount() const { return rebuildCount_; }

    // Rebuilds the turned image after a change of picture or setting and schedules a repaint.
    void SettingsChanged();
    // Rebuilds the turned image and the one that painting draws.
    void BuildRotatedImage();

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void markOpaque();
    bool fitPictureToScreen();
    // Where painting draws the painted image: paintRect(), or the picture's place in it.
    QRectF paintTarget() const;
    bool hasPicture() const { return !picture_.isNull() || file_.isReleased() || maker_; }
    // A made picture at the size the control now shows it; true when it was made anew.
    bool makePicture();
    // Reads a picture let go at rest again, at the size now shown; false when its file can no
    // longer be read.
    bool readPictureAgain();
    // The outline of what is not key colour, turned by angle_ and placed in the frame, picture
    // being the size it is turned at; empty when not known.
    QPolygonF outlineInFrame(QSize picture) const;
    // Where the control shows that outline, grown to cover every pixel it paints.
    QRegion turnedArea(QSize picture) const;
    // The picture at the screen's pixels, scaled to size and laid on the key colour.
    static QImage sourceOnKey(const QImage& picture, QSize size, QRgb key);

    QImage picture_;
    ShownPicture file_; // the file the picture was read from, when it was
    PictureMaker maker_;
    bool stretch_ = false;
    bool center_ = false;
    bool transparent_ = false;
    long double angle_ = 0;
    bool uniqueSize_ = true;
    // At the screen's pixels the spin paints straight from the turn, so the framed turned
    // picture is only made when asked for, from the turn and the frame kept here.
    mutable QImage rotatedImage_;
    mutable bool turnPending_ = false; // rotatedImage_ to be turned from source_ when asked for
    QSize frame_;
    // Built at rest, the framed picture is made from the picture at this size when asked for.
    mutable bool restingBuild_ = false;
    QSize restingPicture_;
    bool hasTurned_ = false; // built turned at least once, at the screen's pixels

    // The picture laid on the key colour depends on neither angle nor layout, so it is kept
    // between rebuilds for as long as the picture and the key colour stay.
    QImage source_;
    QRgb sourceKey_ = 0;
    QPolygonF outline_;   // of what in source_ is not key colour, kept with it
    QRegion paintedArea_; // where the built picture shows more than key colour, when known
    // The turned picture in its frame, kept from turn to turn, and what it was last turned
    // from: the next turn mends it only where the picture was and is (area, in its pixels).
    QImage turnFrame_;
    struct TurnState
    {
        bool valid = false;
        qint64 source = 0;
        QRgb key = 0;
        bool transparent = false;
        QRegion area;
    };
    TurnState lastTurn_;
    QImage paintImage_;
    // At rest with its frame left undrawn, the painted image is the picture alone, placed at
    // framedAt_ (device pixels) in the frame.
    bool unframed_ = false;
    QPoint framedAt_;
    int rebuildCount_ = 0;
    bool devicePixels_ = false;
    bool releaseAtRest_ = false;
    double builtRatio_ = 1; // the device pixel ratio and size the turned image was built for
    QSize builtSize_;
};
