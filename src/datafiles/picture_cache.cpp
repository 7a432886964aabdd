#include "datafiles/picture_cache.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <algorithm>
#include <array>
#include <utility>

namespace {

// An entry: Magic, the stamp, width, height and format (32-bit little-endian each), the rows
// of pixels without padding, and the stamp again, written last, so that an entry cut short
// by a crash or a power cut never matches.
const QByteArray Magic = QByteArrayLiteral("PWPIC1\r\n");
constexpr qint64 StampBytes = 20; // SHA-1
constexpr qint64 HeaderBytes = 8 + StampBytes + 3 * qint64(sizeof(quint32));
// The bytes at each end of the file that the stamp covers: where an edit or a new photo
// under the same name, size and time would show.
constexpr qint64 SampleBytes = 4096;

qint64 rowBytes(QSize size)
{
    return qint64(size.width()) * 4;
}

QByteArray header(const QByteArray& stamp, QSize size, QImage::Format format)
{
    std::array<quint32, 3> fields = {quint32(size.width()), quint32(size.height()),
                                     quint32(format)};
    for (quint32& field : fields)
        field = qToLittleEndian(field);
    return Magic + stamp + QByteArray(reinterpret_cast<const char*>(fields.data()), sizeof fields);
}

// Replaces the file at path with what write puts in a temporary file beside it. Not flushed:
// an entry the disk loses is only decoded again, and its trailing stamp shows when it is cut.
template <typename Write> bool replaceFile(const QString& path, Write write)
{
    const QString temporary = path + QStringLiteral(".tmp");
    QFile file(temporary);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const bool written = write(file);
    file.close();
    if (!written || file.error() != QFileDevice::NoError ||
        (QFile::exists(path) && !QFile::remove(path)) || !QFile::rename(temporary, path)) {
        QFile::remove(temporary);
        return false;
    }
    return true;
}

} // namespace

PictureCache::PictureCache(QString folder) : folder_(std::move(folder)) {}

QByteArray PictureCache::stamp(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QFileInfo info(file);
    const qint64 size = file.size();
    const qint64 changed = info.lastModified().toMSecsSinceEpoch();
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(info.absoluteFilePath().toUtf8());
    hash.addData(QByteArrayView(reinterpret_cast<const char*>(&size), sizeof size));
    hash.addData(QByteArrayView(reinterpret_cast<const char*>(&changed), sizeof changed));
    const QByteArray start = file.read(SampleBytes);
    if (!file.seek(std::max(size - SampleBytes, qint64(0))))
        return {};
    const QByteArray end = file.read(SampleBytes);
    hash.addData(start);
    hash.addData(end);
    return hash.result();
}

QString PictureCache::clientSizePath() const
{
    return folder_ + QStringLiteral("/client-size");
}

QSize PictureCache::clientSizeFor(QSize guess) const
{
    QFile file(clientSizePath());
    if (!file.open(QIODevice::ReadOnly))
        return guess;
    const QList<QByteArray> numbers = file.read(64).simplified().split(' ');
    if (numbers.size() != 4)
        return guess;
    std::array<int, 4> values{};
    for (size_t i = 0; i < values.size(); ++i) {
        bool ok = false;
        values[i] = numbers[qsizetype(i)].toInt(&ok);
        if (!ok || values[i] <= 0)
            return guess;
    }
    return QSize(values[0], values[1]) == guess ? QSize(values[2], values[3]) : guess;
}

void PictureCache::rememberClientSize(QSize guess, QSize client) const
{
    if (guess.isEmpty() || client.isEmpty() || clientSizeFor(guess) == client ||
        !QDir().mkpath(folder_))
        return;
    const QByteArray text =
        QByteArray::number(guess.width()) + ' ' + QByteArray::number(guess.height()) + ' ' +
        QByteArray::number(client.width()) + ' ' + QByteArray::number(client.height()) + '\n';
    replaceFile(clientSizePath(), [&text](QFile& file) { return file.write(text) == text.size(); });
}

QString PictureCache::entryPath(const QString& path, QSize size) const
{
    const QByteArray name = QCryptographicHash::hash(QFileInfo(path).absoluteFilePath().toUtf8(),
                                                     QCryptographicHash::Sha1)
                                .toHex()
                                .left(16);
    return folder_ + QLatin1Char('/') + QString::fromLatin1(name) +
           QStringLiteral("-%1x%2.pic").arg(size.width()).arg(size.height());
}

QImage PictureCache::find(const QByteArray& stamp, const QString& path, QSize size) const
{
    if (stamp.size() != StampBytes || size.isEmpty())
        return {};
    QFile file(entryPath(path, size));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const qint64 pixelBytes = rowBytes(size) * size.height();
    if (file.size() != HeaderBytes + pixelBytes + StampBytes)
        return {};
    const QByteArray head = file.read(HeaderBytes);
    QImage::Format format = QImage::Format_RGB32;
    if (head != header(stamp, size, format)) {
        format = QImage::Format_ARGB32_Premultiplied;
        if (head != header(stamp, size, format))
            return {};
    }
    QImage image(size, format);
    if (image.isNull() || image.bytesPerLine() != rowBytes(size) ||
        file.read(reinterpret_cast<char*>(image.bits()), pixelBytes) != pixelBytes ||
        file.read(StampBytes) != stamp)
        return {};
    return image;
}

void PictureCache::store(const QByteArray& stamp, const QString& path, const QImage& image) const
{
    const QImage::Format format = image.format();
    if (stamp.size() != StampBytes || image.isNull() ||
        (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32_Premultiplied) ||
        !QDir().mkpath(folder_))
        return;
    const qint64 row = rowBytes(image.size());
    const bool stored = replaceFile(entryPath(path, image.size()), [&](QFile& file) {
        if (file.write(header(stamp, image.size(), format)) != HeaderBytes)
            return false;
        // Row by row: a picture scaled over its own pixels keeps its wider rows' stride.
        for (int y = 0; y < image.height(); ++y)
            if (file.write(reinterpret_cast<const char*>(image.constScanLine(y)), row) != row)
                return false;
        return file.write(stamp) == StampBytes;
    });
    if (!stored)
        return;
    // Picked by their ending rather than by a name filter: a filter is a regular expression,
    // and matching one leaves a per-thread stack on this worker that the MinGW runtime cannot
    // end with it (see PicturePreload).
    const QFileInfoList files = QDir(folder_).entryInfoList(QDir::Files, QDir::Time);
    qsizetype kept = 0;
    for (const QFileInfo& file : files)
        if (file.fileName().endsWith(QLatin1String(".pic")) && ++kept > MaxEntries)
            QFile::remove(file.absoluteFilePath());
}
