#include "datafiles/exif_thumbnail.h"

#include <QtGlobal>
#include <utility>

namespace {

// Reads the TIFF structure the EXIF segment holds, in its own byte order, never beyond it.
class Tiff
{
public:
    explicit Tiff(QByteArray bytes)
        : bytes_(std::move(bytes)), littleEndian_(bytes_.startsWith(QByteArray("II*\0", 4))),
          valid_(littleEndian_ || bytes_.startsWith(QByteArray("MM\0*", 4)))
    {
    }
    bool valid() const { return valid_; }

    // 0 past the end, which no offset the structure names can be.
    quint32 u16(qint64 at) const { return fits(at, 2) ? value(at, 2) : 0; }
    quint32 u32(qint64 at) const { return fits(at, 4) ? value(at, 4) : 0; }
    bool fits(qint64 at, qint64 length) const
    {
        return at >= 0 && length >= 0 && at + length <= bytes_.size();
    }
    QByteArray mid(qint64 at, qint64 length) const { return bytes_.mid(at, length); }

private:
    quint32 value(qint64 at, int length) const
    {
        quint32 v = 0;
        for (int i = 0; i < length; ++i) {
            const int k = littleEndian_ ? length - 1 - i : i;
            v = (v << 8) | uchar(bytes_[at + k]);
        }
        return v;
    }

    QByteArray bytes_;
    bool littleEndian_;
    bool valid_;
};

constexpr quint32 TagCompression = 0x0103;
constexpr quint32 TagThumbnailOffset = 0x0201;
constexpr quint32 TagThumbnailLength = 0x0202;
constexpr quint32 CompressionJpeg = 6;
constexpr quint32 TypeShort = 3;
constexpr quint32 TypeLong = 4;

QByteArray thumbnailIn(const Tiff& tiff)
{
    if (!tiff.valid())
        return {};
    // The first directory describes the photo; the second, when there is one, its thumbnail.
    const qint64 first = tiff.u32(4);
    const qint64 firstEntries = tiff.u16(first);
    const qint64 second = tiff.u32(first + 2 + 12 * firstEntries);
    if (second == 0 || second == first || !tiff.fits(second, 2))
        return {};
    qint64 offset = 0;
    qint64 length = 0;
    const qint64 entries = tiff.u16(second);
    for (qint64 i = 0; i < entries; ++i) {
        const qint64 entry = second + 2 + 12 * i;
        if (!tiff.fits(entry, 12))
            return {};
        const quint32 tag = tiff.u16(entry);
        const quint32 type = tiff.u16(entry + 2);
        const qint64 value = type == TypeShort  ? tiff.u16(entry + 8)
                             : type == TypeLong ? tiff.u32(entry + 8)
                                                : -1;
        if (tag == TagCompression && value != CompressionJpeg)
            return {};
        if (tag == TagThumbnailOffset)
            offset = value;
        else if (tag == TagThumbnailLength)
            length = value;
    }
    if (offset <= 0 || length <= 4 || !tiff.fits(offset, length))
        return {};
    QByteArray thumbnail = tiff.mid(offset, length);
    return thumbnail.startsWith("\xff\xd8") ? thumbnail : QByteArray();
}

} // namespace

QByteArray exifThumbnail(const QByteArray& head)
{
    if (!head.startsWith("\xff\xd8"))
        return {};
    const auto u16 = [&head](qint64 at) {
        return (quint32(uchar(head[at])) << 8) | uchar(head[at + 1]);
    };
    qint64 at = 2;
    // The segments before the picture data, one of which the EXIF one is.
    while (at + 4 <= head.size() && uchar(head[at]) == 0xff) {
        const uchar marker = uchar(head[at + 1]);
        if (marker == 0xff) { // a fill byte
            ++at;
            continue;
        }
        if (marker == 0xda || marker == 0xd9 || (marker >= 0xd0 && marker <= 0xd8))
            return {};
        const qint64 length = u16(at + 2);
        const qint64 end = at + 2 + length;
        if (length < 2 || end > head.size())
            return {};
        static const QByteArray ExifHeader("Exif\0\0", 6);
        if (marker == 0xe1 && head.mid(at + 4, ExifHeader.size()) == ExifHeader)
            return thumbnailIn(
                Tiff(head.mid(at + 4 + ExifHeader.size(), end - at - 4 - ExifHeader.size())));
        at = end;
    }
    return {};
}
