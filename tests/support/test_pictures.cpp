#include "support/test_pictures.h"

#include <QBuffer>
#include <QImageWriter>
#include <QtEndian>
#include <array>

namespace {

void appendBigEndian16(QByteArray& bytes, quint32 value)
{
    bytes.append(char(value >> 8));
    bytes.append(char(value));
}

void appendBigEndian32(QByteArray& bytes, quint32 value)
{
    appendBigEndian16(bytes, value >> 16);
    appendBigEndian16(bytes, value & 0xffff);
}

// Writes a JPEG marker segment: the marker, then its length and body.
void appendSegment(QByteArray& jpeg, quint8 marker, const QByteArray& body)
{
    jpeg.append(char(0xff));
    jpeg.append(char(marker));
    appendBigEndian16(jpeg, quint32(body.size() + 2));
    jpeg.append(body);
}

quint32 crc32(const QByteArray& bytes)
{
    static const std::array<quint32, 256> table = [] {
        std::array<quint32, 256> t{};
        for (quint32 n = 0; n < 256; ++n) {
            quint32 c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xedb88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    quint32 c = 0xffffffffu;
    for (const char b : bytes)
        c = table[(c ^ quint8(b)) & 0xff] ^ (c >> 8);
    return c ^ 0xffffffffu;
}

void appendChunk(QByteArray& png, const char* type, const QByteArray& data)
{
    appendBigEndian32(png, quint32(data.size()));
    const QByteArray typed = QByteArray(type) + data;
    png.append(typed);
    appendBigEndian32(png, crc32(typed));
}

QByteArray pngWithData(QSize size, int bitDepth, int colourType, bool interlaced,
                       const QByteArray& zlibStream)
{
    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    QByteArray header;
    appendBigEndian32(header, quint32(size.width()));
    appendBigEndian32(header, quint32(size.height()));
    header.append(char(bitDepth));
    header.append(char(colourType));
    header.append(char(0)); // deflate
    header.append(char(0)); // adaptive filtering
    header.append(char(interlaced ? 1 : 0));
    appendChunk(png, "IHDR", header);
    appendChunk(png, "IDAT", zlibStream);
    appendChunk(png, "IEND", QByteArray());
    return png;
}

// A zlib stream of data (qCompress puts the length in front of it).
QByteArray zlibStream(const QByteArray& data)
{
    return qCompress(data).mid(4);
}

// Deflate's bits go in from the lowest bit of each byte; Huffman codes from their top bit.
class BitWriter
{
public:
    void bits(quint32 value, int count)
    {
        for (int i = 0; i < count; ++i)
            bit((value >> i) & 1);
    }
    void code(quint32 value, int length)
    {
        for (int i = length - 1; i >= 0; --i)
            bit((value >> i) & 1);
    }
    QByteArray bytes()
    {
        if (used_)
            out_.append(char(current_));
        current_ = 0;
        used_ = 0;
        return out_;
    }

private:
    void bit(quint32 b)
    {
        current_ |= quint8(b << used_);
        if (++used_ == 8) {
            out_.append(char(current_));
            current_ = 0;
            used_ = 0;
        }
    }
    QByteArray out_;
    quint8 current_ = 0;
    int used_ = 0;
};

} // namespace

QImage markedPicture(QSize size)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::red);
    for (int y = 0; y < size.height() / 2; ++y)
        for (int x = 0; x < size.width() / 2; ++x)
            image.setPixel(x, y, qRgb(0, 0, 255));
    return image;
}

bool markedAt(const QImage& image, int corner)
{
    const int w = image.width();
    const int h = image.height();
    const QPoint corners[4] = {
        {w / 4, h / 4}, {3 * w / 4, h / 4}, {3 * w / 4, 3 * h / 4}, {w / 4, 3 * h / 4}};
    const QColor marked = image.pixelColor(corners[corner]);
    const QColor opposite = image.pixelColor(corners[(corner + 2) % 4]);
    return marked.blue() > 200 && marked.red() < 60 && opposite.red() > 200 && opposite.blue() < 60;
}

QByteArray flatJpeg(QSize size)
{
    // One grey component, all-one quantisation, and a Huffman table of one 1-bit code for each
    // of the DC difference 0 and the end of block: every block is the two bits 00.
    QByteArray jpeg("\xff\xd8", 2);
    appendSegment(jpeg, 0xdb, QByteArray(1, '\0') + QByteArray(64, '\1'));
    QByteArray frame(1, char(8));
    appendBigEndian16(frame, quint32(size.height()));
    appendBigEndian16(frame, quint32(size.width()));
    frame.append(QByteArray("\x01\x01\x11\x00", 4));
    appendSegment(jpeg, 0xc0, frame);
    for (const char tableClass : {'\x00', '\x10'}) {
        QByteArray table(1, tableClass);
        table.append(char(1));
        table.append(QByteArray(15, '\0'));
        table.append(char(0));
        appendSegment(jpeg, 0xc4, table);
    }
    appendSegment(jpeg, 0xda, QByteArray("\x01\x01\x00\x00\x3f\x00", 6));
    const qint64 blocks = qint64((size.width() + 7) / 8) * ((size.height() + 7) / 8);
    const qint64 bits = blocks * 2;
    jpeg.append(QByteArray(qsizetype(bits / 8), '\0'));
    if (bits % 8)
        jpeg.append(char(0xff >> (bits % 8))); // the rest of the last byte padded with ones
    jpeg.append("\xff\xd9", 2);
    return jpeg;
}

QByteArray jpegOf(const QImage& image, bool progressive)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(95);
    writer.setProgressiveScanWrite(progressive);
    writer.write(image.convertToFormat(QImage::Format_RGB32));
    return bytes;
}

QByteArray withOrientation(const QByteArray& jpeg, int orientation, const QByteArray& thumbnail)
{
    // A big-endian TIFF header and one directory with the one orientation entry; with a
    // thumbnail, a second directory pointing at it, right after it.
    QByteArray exif("Exif\0\0MM\0\x2a", 10);
    appendBigEndian32(exif, 8);
    appendBigEndian16(exif, 1);
    appendBigEndian16(exif, 0x0112);
    appendBigEndian16(exif, 3); // SHORT
    appendBigEndian32(exif, 1);
    appendBigEndian16(exif, quint32(orientation));
    appendBigEndian16(exif, 0);
    const quint32 second = 26;
    appendBigEndian32(exif, thumbnail.isEmpty() ? 0 : second);
    if (!thumbnail.isEmpty()) {
        const quint32 entries[3][3] = {{0x0103, 3, 6},
                                       {0x0201, 4, second + 2 + 3 * 12 + 4},
                                       {0x0202, 4, quint32(thumbnail.size())}};
        appendBigEndian16(exif, 3);
        for (const auto& [tag, type, value] : entries) {
            appendBigEndian16(exif, tag);
            appendBigEndian16(exif, type);
            appendBigEndian32(exif, 1);
            if (type == 3) {
                appendBigEndian16(exif, value);
                appendBigEndian16(exif, 0);
            } else {
                appendBigEndian32(exif, value);
            }
        }
        appendBigEndian32(exif, 0);
        exif.append(thumbnail);
    }
    QByteArray result = jpeg.left(2);
    appendSegment(result, 0xe1, exif);
    result.append(jpeg.mid(2));
    return result;
}

QByteArray pngOf(const QImage& image, bool alpha, int bitDepth, bool interlaced)
{
    const int channels = alpha ? 4 : 3;
    const auto row = [&](int y, int x0, int step) {
        QByteArray line(1, '\0'); // no filter
        for (int x = x0; x < image.width(); x += step) {
            const QRgba64 p = image.pixelColor(x, y).rgba64();
            const quint16 values[4] = {p.red(), p.green(), p.blue(), p.alpha()};
            for (int c = 0; c < channels; ++c) {
                if (bitDepth == 16)
                    appendBigEndian16(line, values[c]);
                else
                    line.append(char(values[c] >> 8));
            }
        }
        return line;
    };
    QByteArray data;
    if (!interlaced) {
        for (int y = 0; y < image.height(); ++y)
            data.append(row(y, 0, 1));
    } else {
        // Adam7's seven passes: start and step across, start and step down.
        const int passes[7][4] = {{0, 8, 0, 8}, {4, 8, 0, 8}, {0, 4, 4, 8}, {2, 4, 0, 4},
                                  {0, 2, 2, 4}, {1, 2, 0, 2}, {0, 1, 1, 2}};
        for (const auto& p : passes) {
            if (p[0] >= image.width())
                continue;
            for (int y = p[2]; y < image.height(); y += p[3])
                data.append(row(y, p[0], p[1]));
        }
    }
    return pngWithData(image.size(), bitDepth, alpha ? 6 : 2, interlaced, zlibStream(data));
}

QByteArray flatPng(QSize size)
{
    // Every row is its filter byte 0 and zeros: one literal zero, then copies of the 258 bytes
    // before, in one block of deflate's fixed codes.
    const qint64 total = qint64(size.height()) * (size.width() + 1);
    BitWriter out;
    out.bits(1, 1); // the last block
    out.bits(1, 2); // fixed codes
    const auto literalZero = [&out] { out.code(0x30, 8); };
    literalZero();
    qint64 left = total - 1;
    for (; left >= 258; left -= 258) {
        out.code(0xc5, 8); // length 258
        out.code(0, 5);    // distance 1
    }
    for (; left > 0; --left)
        literalZero();
    out.code(0, 7); // end of block
    QByteArray stream("\x78\x01", 2);
    stream.append(out.bytes());
    appendBigEndian32(stream, quint32((total % 65521) << 16 | 1)); // Adler-32 of zeros
    return pngWithData(size, 8, 0, false, stream);
}

QByteArray pngHeaderOnly(QSize size)
{
    return pngWithData(size, 8, 2, false, zlibStream(QByteArray(16, '\0')));
}
