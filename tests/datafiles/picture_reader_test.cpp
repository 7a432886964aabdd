// The operator's pictures: every kind a phone or camera makes, read upright at the size they
// are shown, and a clear refusal of what cannot be read.
#include "datafiles/picture_reader.h"

#include "datafiles/app_error.h"
#include "datafiles/picture_cache.h"
#include "datafiles/shown_picture.h"
#include "datafiles/shrink_in_place.h"
#include "datafiles/system_files.h"
#include "datafiles/text_file.h"
#include "support/test_pictures.h"
#include "support/test_support.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>

namespace {

const QString Unreadable = QStringLiteral("The picture cannot be read: ");

// Each case of a table over pictures written into a folder of its own.
template <class Case> class InFolder : public ::testing::TestWithParam<Case>
{
protected:
    QTemporaryDir dir;
};

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

struct PictureCase
{
    const char* name;
    std::function<QByteArray()> bytes; // none: no file at all
    QSize shown;                       // empty: the whole picture
    QSize kept;                        // the image read, when it is read
    int markedCorner = -1;             // where the marked quarter shows, when it is marked
    QString cause;                     // the message's cause, when it is refused
};

QByteArray truncatedPng()
{
    const QByteArray png = pngOf(markedPicture({300, 200}), false, 8, false);
    return png.left(png.size() / 3);
}

const QImage Marked = markedPicture({64, 32});

PictureCase read(const char* name, std::function<QByteArray()> bytes, QSize shown, QSize kept,
                 int markedCorner = -1)
{
    return {name, std::move(bytes), shown, kept, markedCorner, QString()};
}

PictureCase refused(const char* name, std::function<QByteArray()> bytes, const QString& cause)
{
    return {name, std::move(bytes), QSize(), QSize(), -1, cause};
}

QString tooLarge(int width, int height)
{
    return QStringLiteral("The picture is %1 × %2 pixels; pictures of up to 200 million pixels "
                          "can be read.")
        .arg(width)
        .arg(height);
}

const PictureCase Cases[] = {
    read(
        "png_16_bit_with_alpha", [] { return pngOf(Marked, true, 16, false); }, {}, {64, 32}, 0),
    read(
        "png_interlaced", [] { return pngOf(Marked, false, 8, true); }, {}, {64, 32}, 0),
    read(
        "png_16_bit_interlaced_scaled", [] { return pngOf(Marked, true, 16, true); }, {32, 16},
        {32, 16}, 0),
    read(
        "jpeg_progressive_scaled", [] { return jpegOf(Marked, true); }, {32, 16}, {32, 16}, 0),
    read(
        "jpeg_under_a_png_name", [] { return jpegOf(Marked); }, {}, {64, 32}, 0),
    read(
        "small_picture_is_not_enlarged", [] { return jpegOf(Marked); }, {640, 16}, {64, 16}, 0),
    read(
        "exif_orientation_1", [] { return withOrientation(jpegOf(Marked), 1); }, {}, {64, 32}, 0),
    read(
        "exif_orientation_3", [] { return withOrientation(jpegOf(Marked), 3); }, {}, {64, 32}, 2),
    read(
        "exif_orientation_6", [] { return withOrientation(jpegOf(Marked), 6); }, {}, {32, 64}, 1),
    read(
        "exif_orientation_8", [] { return withOrientation(jpegOf(Marked), 8); }, {}, {32, 64}, 3),
    read(
        "exif_orientation_6_scaled", [] { return withOrientation(jpegOf(Marked), 6); }, {16, 32},
        {16, 32}, 1),
    read("jpeg_48_megapixels",
         [] {
             return flatJpeg({8000, 6000});
         },
         {1071, 743}, {1071, 743}),
    read("jpeg_200_megapixels",
         [] {
             return flatJpeg({20000, 10000});
         },
         {1920, 1080}, {1920, 1080}),
    read("png_200_megapixels",
         [] {
             return flatPng({20000, 10000});
         },
         {1920, 1080}, {1920, 1080}),
    refused(
        "above_the_bound",
        [] {
            return pngHeaderOnly({50000, 50000});
        },
        tooLarge(50000, 50000)),
    refused(
        "one_row_above_the_bound",
        [] {
            return flatJpeg({20000, 10001});
        },
        tooLarge(20000, 10001)),
    refused("truncated", truncatedPng, Unreadable + QStringLiteral("Unable to read image data")),
    refused(
        "zero_bytes", [] { return QByteArray(); },
        Unreadable + QStringLiteral("Unsupported image format")),
    refused(
        "not_a_picture", [] { return QByteArray("not a picture at all"); },
        Unreadable + QStringLiteral("Unsupported image format")),
    refused("missing", nullptr, causeText(fileNotFoundCode())),
};

using PictureReading = InFolder<PictureCase>;

} // namespace

TEST_P(PictureReading, ReadsUprightAtTheShownSizeOrRefusesWithTheMessage)
{
    const PictureCase& c = GetParam();
    // Every picture under the name the operator gives it; the content decides the format.
    const QString path = dir.path() + QStringLiteral("/pic/背景.png");
    QDir().mkpath(dir.path() + QStringLiteral("/pic"));
    if (c.bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(c.bytes());
    }
    const ShownSize shown = c.shown.isEmpty() ? ShownSize() : [&c](QSize) { return c.shown; };
    if (!c.cause.isEmpty()) {
        try {
            readPicture(path, shown);
            FAIL() << "read, not refused";
        } catch (const AppError& error) {
            EXPECT_EQ(error.message(), cannotOpenMessage(path, c.cause));
        }
        return;
    }
    const PictureRead result = readPicture(path, shown);
    EXPECT_EQ(result.image.size(), c.kept);
    EXPECT_EQ(result.path, path);
    if (c.markedCorner >= 0) {
        EXPECT_TRUE(markedAt(result.image, c.markedCorner));
    }
}

INSTANTIATE_TEST_SUITE_P(Pictures, PictureReading, ::testing::ValuesIn(Cases),
                         [](const auto& info) { return std::string(info.param.name); });

namespace {

// A camera's photo whose thumbnail stands in for it, or must not: the photo is marked, and so
// is its thumbnail unless told otherwise, so either read shows which way it was turned.
struct ThumbnailCase
{
    const char* name;
    std::function<QByteArray()> bytes;
    QSize shown;
    bool fromThumbnail;
    QSize kept;
    int markedCorner;
};

const QImage Photo = markedPicture({640, 320});
const QByteArray PhotoThumbnail = jpegOf(markedPicture({160, 80}));

QByteArray photo(int orientation, const QByteArray& thumbnail = PhotoThumbnail)
{
    return withOrientation(jpegOf(Photo), orientation, thumbnail);
}

// The thumbnail's offset moved past the end of its segment.
QByteArray thumbnailOutside()
{
    QByteArray bytes = photo(1);
    const qsizetype at = bytes.indexOf(QByteArray::fromHex("02010004"));
    bytes[at + 8] = char(0x7f);
    return bytes;
}

const ThumbnailCase ThumbnailCases[] = {
    {"orientation_1", [] { return photo(1); }, {40, 20}, true, {40, 20}, 0},
    {"orientation_3", [] { return photo(3); }, {40, 20}, true, {40, 20}, 2},
    {"orientation_6", [] { return photo(6); }, {20, 40}, true, {20, 40}, 1},
    {"orientation_8", [] { return photo(8); }, {20, 40}, true, {20, 40}, 3},
    {"exactly_the_kept_size", [] { return photo(6); }, {80, 160}, true, {80, 160}, 1},
    {"too_small_for_the_kept_size", [] { return photo(1); }, {161, 80}, false, {161, 80}, 0},
    {"with_bars_above_and_below",
     [] {
         return photo(1, jpegOf(markedPicture({160, 120})));
     },
     {40, 20},
     false,
     {40, 20},
     0},
    {"offset_outside_its_segment", thumbnailOutside, {40, 20}, false, {40, 20}, 0},
    {"not_a_jpeg",
     [] {
         return photo(1, pngOf(markedPicture({160, 80}), false, 8, false));
     },
     {40, 20},
     false,
     {40, 20},
     0},
    {"none", [] { return withOrientation(jpegOf(Photo), 1); }, {40, 20}, false, {40, 20}, 0},
};

using ThumbnailReading = InFolder<ThumbnailCase>;

} // namespace

TEST_P(ThumbnailReading, StandsInOnlyWithTheProportionsAndTheDetailShown)
{
    const ThumbnailCase& c = GetParam();
    const QString path = dir.path() + QStringLiteral("/1.png");
    writeFile(path, c.bytes());
    const PictureCache cache(dir.path() + QStringLiteral("/cache"));
    const ShownSize shown = [&c](QSize) { return c.shown; };

    const PictureRead read = readPicture(path, shown, &cache, Thumbnail::Accepted);
    EXPECT_EQ(read.fromThumbnail, c.fromThumbnail);
    EXPECT_EQ(read.image.size(), c.kept);
    EXPECT_EQ(read.uprightSize, c.markedCorner % 2 ? QSize(320, 640) : QSize(640, 320));
    EXPECT_TRUE(markedAt(read.image, c.markedCorner));
    // What the thumbnail gave is not kept for the next start, which would then never see the
    // photo itself; without leave, the photo is read.
    EXPECT_EQ(QDir(dir.path() + QStringLiteral("/cache")).entryList({"*.pic"}).isEmpty(),
              c.fromThumbnail);
    EXPECT_FALSE(readPicture(path, shown).fromThumbnail);
}

INSTANTIATE_TEST_SUITE_P(Pictures, ThumbnailReading, ::testing::ValuesIn(ThumbnailCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ThumbnailReading, APictureAboveTheBoundIsRefusedThumbnailOrNot)
{
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/1.png");
    writeFile(path,
              withOrientation(flatJpeg({20000, 10001}), 1, jpegOf(markedPicture({200, 100}))));
    try {
        readPicture(
            path, [](QSize) { return QSize(60, 30); }, nullptr, Thumbnail::Accepted);
        FAIL() << "read, not refused";
    } catch (const AppError& error) {
        EXPECT_EQ(error.message(), cannotOpenMessage(path, tooLarge(20000, 10001)));
    }
}

TEST(ShownPicture, FollowsTheShownSizeScalingDownOrReadingAgain)
{
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/1.png");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(withOrientation(jpegOf(markedPicture({400, 200})), 6));
    file.close();

    ShownPicture picture(readPicture(path, [](QSize) { return QSize(100, 200); }));
    EXPECT_EQ(picture.uprightSize(), QSize(200, 400));
    EXPECT_FALSE(picture.fitTo({100, 200}));
    // Smaller: from the kept image.
    ASSERT_TRUE(picture.fitTo({50, 100}));
    EXPECT_EQ(picture.image().size(), QSize(50, 100));
    EXPECT_TRUE(markedAt(picture.image(), 1));
    // Larger: read again, but never beyond the picture's own size.
    ASSERT_TRUE(picture.fitTo({300, 300}));
    EXPECT_EQ(picture.image().size(), QSize(200, 300));
    EXPECT_TRUE(markedAt(picture.image(), 1));
    // Let go at rest, it still fits the size it was kept at, and is read again upright.
    picture.release();
    EXPECT_TRUE(picture.image().isNull());
    EXPECT_TRUE(picture.fits({300, 300}));
    EXPECT_EQ(picture.readAtKeptSize().size(), QSize(200, 300));
    ASSERT_TRUE(picture.readAgain({300, 300}));
    EXPECT_EQ(picture.image().size(), QSize(200, 300));
    EXPECT_TRUE(markedAt(picture.image(), 1));
    // A file gone since leaves the picture as it was, and is not tried again for that size;
    // let go, it stays let go rather than empty.
    QFile::remove(path);
    EXPECT_FALSE(picture.fitTo({400, 400}));
    EXPECT_EQ(picture.image().size(), QSize(200, 300));
    EXPECT_FALSE(picture.fitTo({400, 400}));
    picture.release();
    EXPECT_FALSE(picture.readAgain({200, 300}));
    EXPECT_TRUE(picture.isReleased());
    EXPECT_TRUE(picture.readAtKeptSize().isNull());
}

TEST(ShrinkInPlace, ScalesDownSmoothlyOverTheSamePixels)
{
    // A picture of fine stripes and a gradient, so that averaging and placement both show.
    for (const QImage::Format format :
         {QImage::Format_RGB32, QImage::Format_ARGB32_Premultiplied}) {
        QImage image(1920, 1080, format);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.setPixel(x, y, qRgb(x % 2 ? 255 : 0, x * 255 / 1919, y * 255 / 1079));
        const QImage expected =
            image.scaled(1905, 1058, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        const uchar* pixels = image.constBits();
        ASSERT_TRUE(shrinkInPlace(image, {1905, 1058}));
        EXPECT_EQ(image.constBits(), pixels);
        ASSERT_EQ(image.size(), QSize(1905, 1058));
        int worst = 0;
        for (int y = 0; y < image.height(); y += 7)
            for (int x = 0; x < image.width(); x += 5) {
                const QRgb a = image.pixel(x, y);
                const QRgb b = expected.pixel(x, y);
                worst = std::max({worst, std::abs(qRed(a) - qRed(b)),
                                  std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
            }
        EXPECT_LE(worst, 3);
    }
    // A shared picture is left to a copy, as is a large reduction.
    QImage shared(100, 100, QImage::Format_RGB32);
    shared.fill(Qt::red);
    const QImage other = shared;
    EXPECT_FALSE(shrinkInPlace(shared, {90, 90}));
    EXPECT_EQ(shrinkPicture(shared, {10, 10}).size(), QSize(10, 10));
    EXPECT_EQ(shared.size(), QSize(100, 100));
}

namespace {

// What happens between a read that fills the cache and the next read of the same picture,
// and whether that next read comes from the cache. The entry's pixels are painted over first,
// so a read from the cache shows it.
struct CacheCase
{
    const char* name;
    std::function<void(const QString& picture, const QString& entry)> between;
    QSize secondShown;
    bool fromCache;
};

const QSize CachedSize(32, 16);

const CacheCase CacheCases[] = {
    {"unchanged", [](const QString&, const QString&) {}, CachedSize, true},
    {"picture_replaced",
     [](const QString& picture, const QString&) {
         writeFile(picture, withOrientation(jpegOf(Marked), 3));
     },
     CachedSize, false},
    {"picture_touched",
     [](const QString& picture, const QString&) {
         QFile file(picture);
         ASSERT_TRUE(file.open(QIODevice::ReadWrite));
         ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                                      QFileDevice::FileModificationTime));
     },
     CachedSize, false},
    {"entry_cut_short",
     [](const QString&, const QString& entry) {
         QFile file(entry);
         ASSERT_TRUE(file.open(QIODevice::ReadWrite));
         ASSERT_TRUE(file.resize(file.size() - 1));
     },
     CachedSize, false},
    {"entry_tail_lost",
     [](const QString&, const QString& entry) {
         QFile file(entry);
         ASSERT_TRUE(file.open(QIODevice::ReadWrite));
         ASSERT_TRUE(file.seek(file.size() - 20));
         file.write(QByteArray(20, '\0'));
     },
     CachedSize, false},
    {"other_size", [](const QString&, const QString&) {}, QSize(16, 8), false},
};

using PictureCaching = InFolder<CacheCase>;

} // namespace

TEST_P(PictureCaching, ReadsBackOnlyWhatTheSameFileGaveAtTheSameSize)
{
    const CacheCase& c = GetParam();
    const QString picture = dir.path() + QStringLiteral("/1.png");
    writeFile(picture, jpegOf(Marked));
    const PictureCache cache(dir.path() + QStringLiteral("/cache"));
    const auto read = [&](QSize shown) {
        return readPicture(
                   picture, [shown](QSize) { return shown; }, &cache)
            .image;
    };
    ASSERT_TRUE(markedAt(read(CachedSize), 0));
    const QFileInfoList entries =
        QDir(dir.path() + QStringLiteral("/cache")).entryInfoList({"*.pic"}, QDir::Files);
    ASSERT_EQ(entries.size(), 1);
    const QString entry = entries[0].absoluteFilePath();
    {
        QFile file(entry);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        const qint64 pixels = qint64(CachedSize.width()) * CachedSize.height() * 4;
        ASSERT_TRUE(file.seek(file.size() - 20 - pixels));
        file.write(QByteArray(pixels, '\x7f'));
    }
    c.between(picture, entry);

    const QImage again = read(c.secondShown);
    EXPECT_EQ(again.size(), c.secondShown);
    const bool painted = (again.pixel(0, 0) & 0xffffffu) == 0x7f7f7fu;
    EXPECT_EQ(painted, c.fromCache);
    if (!c.fromCache) {
        EXPECT_TRUE(markedAt(again, c.name == std::string("picture_replaced") ? 2 : 0));
    }
}

INSTANTIATE_TEST_SUITE_P(Pictures, PictureCaching, ::testing::ValuesIn(CacheCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PictureCache, KeepsTheNewestEntriesAndTheClientAreaOfTheSpace)
{
    QTemporaryDir dir;
    const PictureCache cache(dir.path() + QStringLiteral("/cache"));
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::blue);
    for (int i = 0; i < PictureCache::MaxEntries + 3; ++i) {
        const QString path = dir.path() + QStringLiteral("/%1.png").arg(i);
        writeFile(path, QByteArray::number(i));
        cache.store(PictureCache::stamp(path), path, image);
    }
    EXPECT_EQ(QDir(dir.path() + QStringLiteral("/cache"))
                  .entryList({QStringLiteral("*.pic")}, QDir::Files)
                  .size(),
              PictureCache::MaxEntries);
    // A file no longer there has no stamp, and nothing is found under none.
    const QString gone = dir.path() + QStringLiteral("/gone.png");
    EXPECT_TRUE(PictureCache::stamp(gone).isEmpty());
    EXPECT_TRUE(cache.find(PictureCache::stamp(gone), gone, {4, 4}).isNull());

    const QSize space(1920, 1080);
    EXPECT_EQ(cache.clientSizeFor(space), space);
    cache.rememberClientSize(space, {1920, 1061});
    EXPECT_EQ(cache.clientSizeFor(space), QSize(1920, 1061));
    EXPECT_EQ(cache.clientSizeFor({1280, 1024}), QSize(1280, 1024));
    writeFile(dir.path() + QStringLiteral("/cache/client-size"), "1920 1080 x 1061\n");
    EXPECT_EQ(cache.clientSizeFor(space), space);
}
