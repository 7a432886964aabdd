#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <QtGlobal>
#include <functional>

class PictureCache;

// Reading the operator's pictures: any JPEG or PNG a phone or camera makes, decided by its
// content, turned upright by its EXIF orientation, and read only at the size it is shown.

// The most pixels a picture may have; a larger one is refused before it is decoded.
inline constexpr qint64 MaxPicturePixels = 200'000'000;

// The causes a picture that cannot be used is reported with, after the file's name: the
// decoder's own words follow the first; the second takes the picture's width and height.
inline const QString PictureUnreadableCause = QStringLiteral("The picture cannot be read: ");
inline const QString PictureTooLargeCause = QStringLiteral(
    "The picture is %1 × %2 pixels; pictures of up to 200 million pixels can be read.");

// The size a picture of pictureSize is kept at when shown at shownPixels (device pixels): each
// side the shown one, never more than the picture's own, so nothing is kept that the screen
// cannot show and nothing is made up by enlarging. An empty shownPixels keeps the whole picture.
QSize keptPictureSize(QSize pictureSize, QSize shownPixels);

// The device pixels a picture is shown at, from its upright size (a turned pointer's depends
// on its proportions). Called on whatever thread reads the picture.
using ShownSize = std::function<QSize(QSize uprightSize)>;

// A picture read at the size it is shown.
struct PictureRead
{
    QImage image; // 8 bits a channel, premultiplied when it has alpha
    QString path;
    QSize uprightSize; // the whole picture's size, turned upright
    // Made from the thumbnail the camera stored beside the photo: the photo itself is still to
    // be read.
    bool fromThumbnail = false;
};

// Whether a camera's thumbnail may stand in for its photo until the photo is read.
enum class Thumbnail
{
    Ignored,
    Accepted
};

// Reads the picture at path at keptPictureSize(upright size, shown(upright size)): a JPEG is
// decoded scaled, any other picture read whole and then scaled down smoothly. Raises AppError
// "Cannot open file "<path>". <cause>" when the file cannot be opened, holds no picture that
// can be read, or has more than MaxPicturePixels pixels (checked from its header alone).
// With a cache, a picture kept there from the same file at the same size is read back
// instead of decoded, and one decoded is kept there. With Thumbnail::Accepted, a JPEG whose
// EXIF thumbnail has the photo's proportions and at least the kept size is read from that
// thumbnail alone (fromThumbnail), and is not kept in the cache.
PictureRead readPicture(const QString& path, const ShownSize& shown = {},
                        const PictureCache* cache = nullptr,
                        Thumbnail thumbnail = Thumbnail::Ignored);
