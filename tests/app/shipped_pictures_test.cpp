// The pictures shipped in assets/: they must load, fit the controls that show them, and agree
// with the sector table, since the audience reads the prize off the wheel under the pointer.
#include "draw/sector_table.h"

#include <QColor>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QString>

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double Pi = 3.14159265358979323846;

QString assetPath(const QString& relative)
{
    return QString::fromUtf8(PW_ASSETS_DIR) + QLatin1Char('/') + relative;
}

QImage readPicture(const QString& relative, const QByteArray& expectedFormat)
{
    QImageReader reader(assetPath(relative));
    const QByteArray format = reader.format(); // decided from the content, before reading
    const QImage image = reader.read();
    EXPECT_FALSE(image.isNull()) << relative.toStdString() << ": "
                                 << reader.errorString().toStdString();
    EXPECT_EQ(format, expectedFormat) << relative.toStdString();
    return image.convertToFormat(QImage::Format_ARGB32);
}

QString prizePicture(int slot)
{
    return QStringLiteral("pic/%1.png").arg(slot);
}

// Counts the pixels that are neither fully transparent nor fully opaque: the program keys the
// transparent parts out, and half-transparent ones would show a grey fringe.
int halfTransparentPixels(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const int a = qAlpha(image.pixel(x, y));
            count += a != 0 && a != 255;
        }
    return count;
}

double distance(QRgb a, QRgb b)
{
    const double dr = qRed(a) - qRed(b);
    const double dg = qGreen(a) - qGreen(b);
    const double db = qBlue(a) - qBlue(b);
    return std::sqrt(dr * dr + dg * dg + db * db);
}

// A slot's span in degrees clockwise from the top, boundaries halfway between whole degrees;
// slot 1 starts left of the top.
struct Span
{
    double from;
    double to;
    double middle() const { return (from + to) / 2; }
};

Span spanOf(const Sector& s)
{
    const int first = s.slot == 1 ? Sectors.back().last + 1 - 360 : s.first;
    return {first - 0.5, s.last + 0.5};
}

// The wheel control is 545 x 529; its picture is made at twice that size, so that a screen of
// twice the layout's pixels shows it sharp.
constexpr int PictureScale = 2;
const QSize WheelPictureSize = QSize(545, 529) * PictureScale;

// The wheel picture shown at the control's size with the wheel centred on it; radius in the
// control's pixels.
QRgb wheelColourAt(const QImage& wheel, double bearing, double radius)
{
    const double a = bearing * Pi / 180;
    const double x = wheel.width() / 2.0 + radius * PictureScale * std::sin(a);
    const double y = wheel.height() / 2.0 - radius * PictureScale * std::cos(a);
    return wheel.pixel(static_cast<int>(std::floor(x)), static_cast<int>(std::floor(y)));
}

constexpr double FaceSampleRadius = 226; // just inside the gold rim
constexpr double BoundaryOffset = 2.5;   // degrees either side of a boundary

} // namespace

TEST(ShippedPictures, everyPictureLoadsWithItsFormatsReader)
{
    for (const char* name : {"pic/背景.png", "pic/转盘.png", "pic/指针.png"})
        readPicture(QString::fromUtf8(name), "png");
    for (int slot = 1; slot <= 8; ++slot)
        readPicture(prizePicture(slot), "png");
    const QImage initial = readPicture(QStringLiteral("embedded/initial_background.jpg"), "jpeg");
    EXPECT_EQ(initial.size(), QSize(1024, 614));
    EXPECT_FALSE(initial.allGray());
}

TEST(ShippedPictures, wheelIsAHardEdgedDiscAtTheControlsSize)
{
    const QImage wheel = readPicture(QStringLiteral("pic/转盘.png"), "png");
    ASSERT_EQ(wheel.size(), WheelPictureSize);
    EXPECT_EQ(halfTransparentPixels(wheel), 0);
    // Opaque everywhere well inside the rim, transparent in the corners and just outside.
    for (int bearing = 0; bearing < 360; bearing += 5) {
        EXPECT_EQ(qAlpha(wheelColourAt(wheel, bearing, 255)), 255) << bearing;
        EXPECT_EQ(qAlpha(wheelColourAt(wheel, bearing, 40)), 255) << bearing;
    }
    const int right = wheel.width() - 1;
    const int bottom = wheel.height() - 1;
    for (const QPoint corner :
         {QPoint(0, 0), QPoint(right, 0), QPoint(0, bottom), QPoint(right, bottom)})
        EXPECT_EQ(qAlpha(wheel.pixel(corner)), 0);
    EXPECT_EQ(qAlpha(wheelColourAt(wheel, 45, 268)), 0);
}

TEST(ShippedPictures, wheelSectorsFollowTheSectorTable)
{
    const QImage wheel = readPicture(QStringLiteral("pic/转盘.png"), "png");
    ASSERT_EQ(wheel.size(), WheelPictureSize);
    for (std::size_t i = 0; i < Sectors.size(); ++i) {
        const Sector& here = Sectors[i];
        const Sector& next = Sectors[(i + 1) % Sectors.size()];
        const QRgb hereMiddle = wheelColourAt(wheel, spanOf(here).middle(), FaceSampleRadius);
        const QRgb nextMiddle = wheelColourAt(wheel, spanOf(next).middle(), FaceSampleRadius);
        EXPECT_GT(distance(hereMiddle, nextMiddle), 60)
            << "slots " << here.slot << " and " << next.slot << " look alike";

        // Either side of the boundary the colour is that of the slot the table gives.
        const double boundary = here.last + 0.5;
        const QRgb before = wheelColourAt(wheel, boundary - BoundaryOffset, FaceSampleRadius);
        const QRgb after = wheelColourAt(wheel, boundary + BoundaryOffset, FaceSampleRadius);
        EXPECT_GT(distance(before, after), 60) << "boundary after slot " << here.slot;
        EXPECT_LT(distance(before, hereMiddle), distance(before, nextMiddle))
            << "just before the boundary after slot " << here.slot;
        EXPECT_LT(distance(after, nextMiddle), distance(after, hereMiddle))
            << "just after the boundary after slot " << here.slot;
    }
}

TEST(ShippedPictures, pointerPointsUpFromItsTurningCentre)
{
    const QImage pointer = readPicture(QStringLiteral("pic/指针.png"), "png");
    ASSERT_FALSE(pointer.isNull());
    EXPECT_EQ(halfTransparentPixels(pointer), 0);
    // The control turns the picture about column W div 2 and row H div 2.
    const int cx = pointer.width() / 2;
    const int cy = pointer.height() / 2;
    EXPECT_EQ(qAlpha(pointer.pixel(cx, cy)), 255) << "no hub at the turning centre";

    int top = -1;
    int bottom = -1;
    for (int y = 0; y < pointer.height(); ++y)
        for (int x = 0; x < pointer.width(); ++x)
            if (qAlpha(pointer.pixel(x, y)) == 255) {
                if (top < 0)
                    top = y;
                bottom = y;
            }
    ASSERT_GE(top, 0) << "the pointer is empty";
    EXPECT_EQ(qAlpha(pointer.pixel(cx, top)), 255) << "the tip is off the centre line";
    EXPECT_LT(top, pointer.height() / 10) << "the tip should reach near the top edge";
    EXPECT_GT(cy - top, 2 * (bottom - cy)) << "the needle should point up, the tail be short";

    // Shown on the wheel: the control fits the picture's diagonal square into 350 x 350, and the
    // tip must reach out towards the numbers while staying inside the wheel's rim.
    const double side = std::round(std::hypot(pointer.width() + 2, pointer.height() + 2));
    const double reachOnScreen = (cy - top) * 350 / side;
    EXPECT_GT(reachOnScreen, 140);
    EXPECT_LT(reachOnScreen, FaceSampleRadius);
}

TEST(ShippedPictures, prizePicturesAreDistinctHardEdgedIcons)
{
    QList<QImage> pictures;
    for (int slot = 1; slot <= 8; ++slot) {
        const QImage picture = readPicture(prizePicture(slot), "png");
        ASSERT_FALSE(picture.isNull());
        EXPECT_EQ(picture.width(), picture.height()) << slot;
        EXPECT_EQ(halfTransparentPixels(picture), 0) << slot;
        EXPECT_EQ(qAlpha(picture.pixel(0, 0)), 0) << slot;
        EXPECT_EQ(qAlpha(picture.pixel(picture.width() / 2, picture.height() / 2)), 255) << slot;
        for (const QImage& earlier : pictures)
            EXPECT_NE(picture, earlier) << "picture " << slot << " repeats an earlier one";
        pictures.append(picture);
    }
}

TEST(ShippedPictures, backgroundIsOpaqueAndDarkWhereWhiteTextSits)
{
    const QString name = QStringLiteral("pic/背景.png");
    const QImage background = readPicture(name, "png");
    ASSERT_FALSE(background.isNull());
    EXPECT_LT(QFileInfo(assetPath(name)).size(), 1'500'000);

    int seeThrough = 0;
    for (int y = 0; y < background.height(); ++y)
        for (int x = 0; x < background.width(); ++x)
            seeThrough += qAlpha(background.pixel(x, y)) != 255;
    EXPECT_EQ(seeThrough, 0);

    auto meanGrey = [&](double fromFraction, double toFraction) {
        const int from = static_cast<int>(background.height() * fromFraction);
        const int to = static_cast<int>(background.height() * toFraction);
        double sum = 0;
        for (int y = from; y < to; ++y)
            for (int x = 0; x < background.width(); ++x)
                sum += qGray(background.pixel(x, y));
        return sum / ((to - from) * background.width());
    };
    // The title at the top; the results row and counter a little above the bottom edge.
    EXPECT_LT(meanGrey(0.0, 0.13), 70);
    EXPECT_LT(meanGrey(0.80, 0.93), 70);
}
