#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

// Pictures as they were last read at a given size, one file each in a folder, so that the
// next start reads back the few megabytes the screen shows instead of decoding a photo of
// tens of megapixels again. An entry belongs to one state of one file: its stamp covers the
// file's path, size and time of change and the bytes at its start and end, and an entry made
// under another stamp is never used. Nothing about the cache is ever reported: a folder that
// cannot be written, or an entry that cannot be read, only means decoding the file again.
// Entries for different files or sizes may be read and written on different threads at once.
class PictureCache
{
public:
    explicit PictureCache(QString folder);

    // What identifies the file at path as it is now; empty when it cannot be read.
    static QByteArray stamp(const QString& path);

    // The picture kept for the file at path under stamp at size, or a null image.
    QImage find(const QByteArray& stamp, const QString& path, QSize size) const;
    // Keeps image (Format_RGB32 or Format_ARGB32_Premultiplied) for the file at path under
    // stamp. The folder keeps the MaxEntries newest entries; older ones are removed.
    void store(const QByteArray& stamp, const QString& path, const QImage& image) const;

    static constexpr int MaxEntries = 40;

    // The client area a window last took when it expected the space guess: pictures read
    // ahead for it then need no fitting when the window appears. guess itself when none is
    // known for that space.
    QSize clientSizeFor(QSize guess) const;
    // Remembers that the space guess gave a client area of size client.
    void rememberClientSize(QSize guess, QSize client) const;

private:
    QString clientSizePath() const;
    QString entryPath(const QString& path, QSize size) const;

    QString folder_;
};
