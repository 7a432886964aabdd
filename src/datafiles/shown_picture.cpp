#include "datafiles/shown_picture.h"

#include "datafiles/app_error.h"

namespace {

QImage scaledDown(const QImage& image, QSize size)
{
    QImage scaled = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return scaled.isNull() ? image : scaled;
}

} // namespace

bool ShownPicture::fitTo(QSize shownPixels)
{
    if (isNull() || shownPixels.isEmpty())
        return false;
    const QSize wanted = keptPictureSize(read_.uprightSize, shownPixels);
    const QSize kept = read_.image.size();
    if (wanted == kept || wanted == tried_)
        return false;
    tried_ = wanted;
    if (wanted.width() <= kept.width() && wanted.height() <= kept.height()) {
        read_.image = scaledDown(read_.image, wanted);
        return true;
    }
    try {
        read_ = readPicture(read_.path, [wanted](QSize) { return wanted; });
    } catch (const AppError&) {
        // The picture stays as it was read; stretched a little is better than gone.
        const QSize fallback = wanted.boundedTo(kept);
        if (fallback == kept)
            return false;
        read_.image = scaledDown(read_.image, fallback);
    }
    return true;
}
