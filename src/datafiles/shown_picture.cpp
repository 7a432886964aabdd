#include "datafiles/shown_picture.h"

#include "datafiles/app_error.h"
#include "datafiles/shrink_in_place.h"

bool ShownPicture::fits(QSize shownPixels) const
{
    if (isNull() || shownPixels.isEmpty())
        return true;
    const QSize wanted = keptPictureSize(read_.uprightSize, shownPixels);
    return wanted == (released_ ? releasedSize_ : read_.image.size()) || wanted == tried_;
}

bool ShownPicture::fitTo(QSize shownPixels)
{
    if (fits(shownPixels))
        return false;
    const QSize wanted = keptPictureSize(read_.uprightSize, shownPixels);
    const QSize kept = read_.image.size();
    tried_ = wanted;
    if (released_)
        return readAgain(shownPixels);
    if (wanted.width() <= kept.width() && wanted.height() <= kept.height()) {
        read_.image = shrinkPicture(std::move(read_.image), wanted);
        return true;
    }
    if (readAgain(shownPixels))
        return true;
    // The picture stays as it was read; stretched a little is better than gone.
    const QSize fallback = wanted.boundedTo(kept);
    if (fallback == kept)
        return false;
    read_.image = shrinkPicture(std::move(read_.image), fallback);
    return true;
}

void ShownPicture::release()
{
    if (isNull() || released_)
        return;
    releasedSize_ = read_.image.size();
    read_.image = QImage();
    released_ = true;
}

bool ShownPicture::readAgain(QSize shownPixels)
{
    const QSize wanted = keptPictureSize(read_.uprightSize, shownPixels);
    try {
        read_ = readPicture(read_.path, [wanted](QSize) { return wanted; });
    } catch (const AppError&) {
        return false;
    }
    released_ = false;
    return true;
}

QImage ShownPicture::readAtKeptSize() const
{
    try {
        return readPicture(read_.path, [kept = releasedSize_](QSize) { return kept; }).image;
    } catch (const AppError&) {
        return QImage();
    }
}
