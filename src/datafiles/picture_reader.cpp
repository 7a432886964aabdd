#include "datafiles/picture_reader.h"

#include "datafiles/app_error.h"
#include "datafiles/picture_cache.h"
#include "datafiles/shrink_in_place.h"
#include "datafiles/system_files.h"
#include "datafiles/text_file.h"

#include <QImageReader>
#include <cstdio>
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

} // namespace

QSize keptPictureSize(QSize pictureSize, QSize shownPixels)
{
    if (shownPixels.isEmpty())
        return pictureSize;
    return pictureSize.boundedTo(shownPixels);
}

PictureRead readPicture(const QString& path, const ShownSize& shown, const PictureCache* cache)
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
    // A JPEG is decoded scaled by libjpeg itself; the size asked for is the stored one, as
    // the turn upright comes after the decoding.
    const bool scaledDecoding = kept.isValid() && kept != upright && reader.format() == "jpeg";
    if (scaledDecoding)
        reader.setScaledSize(quarterTurn ? kept.transposed() : kept);

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
