#pragma once

#include "datafiles/picture_reader.h"

#include <utility>

// A picture file kept only at the size it is shown. When the screen shows it at another size
// (another screen, scale or window size), fitTo brings it there: scaled down from the kept
// image when that has the detail, read again from its file when more is needed.
class ShownPicture
{
public:
    ShownPicture() = default;
    explicit ShownPicture(PictureRead read) : read_(std::move(read)) {}

    bool isNull() const { return read_.path.isEmpty(); }
    const QImage& image() const { return read_.image; }
    const QString& path() const { return read_.path; }
    // The whole picture's size, turned upright.
    QSize uprightSize() const { return read_.uprightSize; }

    // Keeps the picture at keptPictureSize(uprightSize(), shownPixels); true when the image
    // changed. A file that can no longer be read leaves the kept image scaled instead, and is
    // not tried again for the same size. Scaling down works over the kept image's own pixels
    // when nothing else holds it (see shrinkPicture).
    bool fitTo(QSize shownPixels);
    // Whether fitTo(shownPixels) would leave the picture as it is.
    bool fits(QSize shownPixels) const;

    // Lets go of the kept image, for a picture whose painted copy is all its control needs at
    // rest: the file, its size and the size the image was kept at stay, image() is empty.
    void release();
    bool isReleased() const { return released_; }
    // Reads a released picture again at keptPictureSize(uprightSize(), shownPixels); false, the
    // picture still released, when the file can no longer be read.
    bool readAgain(QSize shownPixels);
    // A released picture read again at the size it was kept at, without keeping it; empty when
    // the file can no longer be read.
    QImage readAtKeptSize() const;

private:
    PictureRead read_;
    QSize tried_;
    bool released_ = false;
    QSize releasedSize_;
};
