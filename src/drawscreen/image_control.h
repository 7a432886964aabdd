#pragma once

#include "datafiles/shown_picture.h"

#include <QImage>
#include <QWidget>

// A picture on the draw screen: the background, the prize pictures and the two empty
// pictures that only take presses. It draws its picture stretched to its whole area without
// a background of its own, so what lies beneath shows through transparent parts.
class QPainter;

class ImageControl : public QWidget
{
    Q_OBJECT

public:
    explicit ImageControl(QWidget* parent = nullptr);

    void setPicture(const QImage& picture);
    const QImage& picture() const { return picture_; }

    // A picture read from its file at the size shown (shownPixels()). It is kept at that size:
    // scaled down or read again from the file when the control's size or the screen changes.
    void setPicture(const PictureRead& picture);
    // The control's size in device pixels, what its picture is shown at.
    QSize shownPixels() const;

    // A picture read only when it is first painted: the layout's initial background is
    // usually replaced before that, and then never costs its memory.
    void setPictureFile(const QString& path);

    // Draws from a copy smoothly scaled to the screen's pixels (the control's size times the
    // device pixel ratio) instead of stretching the picture at each paint. For small pictures:
    // the copy costs memory of the control's size.
    void setDrawAtDevicePixels(bool on);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void fitPictureToScreen();
    // Draws the parts of image under region, kx by ky image pixels to a pixel of the control.
    void drawInParts(QPainter& painter, const QRegion& region, const QImage& image, qreal kx,
                     qreal ky) const;

    QImage picture_;
    ShownPicture file_; // the file the picture was read from, when it was
    QString pendingFile_;
    bool devicePixels_ = false;
    QImage shown_; // the picture at the screen's pixels, made when first painted at a size
};
