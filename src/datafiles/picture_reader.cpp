#include "datafiles/picture_reader.h"

#include "datafiles/app_error.h"
#include "datafiles/exif_thumbnail.h"
#include "datafiles/picture_cache.h"
#include "datafiles/shrink_in_place.h"
#include "datafiles/system_files.h"
#include "datafiles/text_file.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QTransform>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace {

// Enough for the largest picture the bound lets through at 16 bits a channel with alpha, the
// widest form a picture is decoded into; Qt's own default refuses a 48-megapixel photo.
constexpr int AllocationLimitMb = int(MaxPicturePixels * 8 / (qint64(1024) * 1024)) + 1;

// What the screen keeps: 8 bits a channel, premultiplied when there is alpha, the forms the
// painter draws fastest.
QImage keptForm(QImage image)
{
    const QImage::Format form =
        image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    if (image.format() != form)
        image.convertTo(form);
    return image;
}

QImage turnedUpright(QImage image, QImageIOHandler::Transformations turn)
{
    if (turn.testFlag(QImageIOHandler::TransformationMirror))
        image = image.mirrored(true, false);
    if (turn.testFlag(QImageIOHandler::TransformationFlip))
        image = image.mirrored(false, true);
    if (turn.testFlag(QImageIOHandler::TransformationRotate90))
        image = image.transformed(QTransform().rotate(90));
    return image;
}

// The photo's EXIF thumbnail at the kept size, upright; empty when it has none, or none with
// the photo's proportions (a thumbnail with bars above and below shows more than the photo)
// and the detail the kept size needs. stored and keptStored are as the photo is stored.
QImage thumbnailAt(const QString& path, QSize stored, QSize keptStored,
                   QImageIOHandler::Transformations turn, QSize kept)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray bytes = exifThumbnail(file.read(ExifThumbnailHeadBytes));
    if (bytes.isEmpty())
        return {};
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer, "jpeg");
    const QSize size = reader.size();
    const qint64 skew =
        std::llabs(qint64(size.width()) * stored.height() - qint64(stored.width()) * size.height());
    if (!size.isValid() || skew > std::max(stored.width(), stored.height()) ||
        size.width() < keptStored.width() || size.height() < keptStored.height())
        return {};
    QImage image = reader.read();
    if (image.isNull())
        return {};
    image = turnedUpright(keptForm(std::move(image)), turn);
    return image.size() == kept ? image : shrinkPicture(std::move(image), kept);
}

} // namespace

QSize keptPictureSize(QSize pictureSize, QSize shownPixels)
{
    if (shownPixels.isEmpty())
        return pictureSize;
    return pictureSize.boundedTo(shownPixels);
}

PictureRead readPicture(const QString& path, const ShownSize& shown, const PictureCache* cache,
                        Thumbnail thumbnail)
{
    FILE* file = openFileForReading(path);
    if (!file)
        throw AppError(cannotOpenMessage(path, causeText(lastSystemError())));
    std::fclose(file);

    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    reader.setAllocationLimit(AllocationLimitMb);
    // The header alone tells the size: a picture beyond the bound is never decoded.
    const QSize stored = reader.size();
    if (stored.isValid() && qint64(stored.width()) * stored.height() > MaxPicturePixels)
        throw AppError(
            cannotOpenMessage(path, PictureTooLargeCause.arg(stored.width()).arg(stored.height())));

    const bool quarterTurn =
        reader.transformation().testFlag(QImageIOHandler::TransformationRotate90);
    const QSize upright = quarterTurn ? stored.transposed() : stored;
    const auto keptFor = [&shown](QSize whole) {
        return keptPictureSize(whole, shown ? shown(whole) : QSize());
    };
    QSize kept = stored.isValid() ? keptFor(upright) : QSize();
    // Taken before the decoding: a file changed meanwhile leaves an entry no later stamp fits.
    QByteArray stamp;
    if (cache && kept.isValid()) {
        stamp = PictureCache::stamp(path);
        QImage cached = cache->find(stamp, path, kept);
        if (!cached.isNull())
            return {std::move(cached), path, upright};
    }
    const bool jpeg = reader.format() == "jpeg";
    const QSize keptStored = quarterTurn ? kept.transposed() : kept;
    if (thumbnail == Thumbnail::Accepted && jpeg && kept.isValid()) {
        QImage small = thumbnailAt(path, stored, keptStored, reader.transformation(), kept);
        if (!small.isNull())
            return {std::move(small), path, upright, true};
    }
    // A JPEG is decoded scaled by libjpeg itself; the size asked for is the stored one, as
    // the turn upright comes after the decoding.
    if (jpeg && kept.isValid() && kept != upright)
        reader.setScaledSize(keptStored);

    QImage image = reader.read();
    if (image.isNull())
        throw AppError(cannotOpenMessage(path, PictureUnreadableCause + reader.errorString()));
    // A header that names no size leaves the size to the decoded picture.
    const QSize whole = stored.isValid() ? upright : image.size();
    if (!kept.isValid())
        kept = keptFor(whole);
    if (image.size() != kept)
        image = shrinkPicture(keptForm(std::move(image)), kept);
    PictureRead read{keptForm(std::move(image)), path, whole};
    if (!stamp.isEmpty())
        cache->store(stamp, path, read.image);
    return read;
}
