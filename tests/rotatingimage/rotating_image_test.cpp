#include "rotatingimage/rotating_image.h"

#include "rotatingimage/turned_picture.h"
#include "test_images.h"

#include <gtest/gtest.h>

#include "datafiles/picture_reader.h"

#include <QFile>
#include <QPainter>
#include <QPalette>
#include <QTemporaryDir>
#include <cmath>

namespace {

const QColor KeyColour(10, 200, 30);  // the parent's button face
const QColor ParentColour(0, 0, 255); // what the parent paints beneath its children
const QColor PictureColour(255, 0, 0);

QRgb rgbAt(const QImage& image, int x, int y)
{
    return QColor(image.pixel(x, y)).rgb();
}

// A control on a parent that paints itself blue and whose button face is the key colour.
class RotatingImageTest : public ::testing::Test
{
protected:
    RotatingImageTest()
    {
        QPalette palette = parent.palette();
        palette.setColor(QPalette::Button, KeyColour);
        palette.setColor(QPalette::Window, ParentColour);
        parent.setPalette(palette);
        parent.setAutoFillBackground(true);
        parent.resize(400, 400);
        control = new RotatingImage(&parent);
    }

    QImage grabParent() { return parent.grab().toImage(); }

    QWidget parent;
    RotatingImage* control;
};

// A 4 x 2 picture whose left column is fully transparent, the rest opaque red.
QImage pictureWithTransparentColumn()
{
    QImage picture(4, 2, QImage::Format_ARGB32);
    picture.fill(PictureColour);
    picture.setPixel(0, 0, qRgba(0, 0, 0, 0));
    picture.setPixel(0, 1, qRgba(0, 0, 0, 0));
    return picture;
}

} // namespace

TEST_F(RotatingImageTest, StartsEmptyAndPaintsNothing)
{
    EXPECT_EQ(control->size(), QSize(105, 105));
    EXPECT_EQ(control->angle(), 0);
    EXPECT_TRUE(control->uniqueSize());
    EXPECT_TRUE(control->rotatedImage().isNull());
    EXPECT_EQ(rgbAt(grabParent(), 50, 50), ParentColour.rgb());

    control->setPicture(opaquePatternImage(5, 5));
    EXPECT_FALSE(control->rotatedImage().isNull());
    control->setPicture(QImage());
    EXPECT_EQ(control->rotatedImage().size(), QSize(0, 0));
    EXPECT_EQ(rgbAt(grabParent(), 50, 50), ParentColour.rgb());
}

TEST_F(RotatingImageTest, WholeTurnsShowThePictureUnturned)
{
    control->setUniqueSize(false);
    for (QSize size : {QSize(5, 3), QSize(4, 6)}) {
        const QImage picture = opaquePatternImage(size.width(), size.height());
        control->setPicture(picture);
        for (long double angle : {0.0L, 360.0L, -720.0L}) {
            control->setAngle(angle);
            EXPECT_EQ(firstDifference(control->rotatedImage(), picture), "") << double(angle);
        }
    }
}

TEST_F(RotatingImageTest, UnturnedPictureSitsInItsSquareCentredOrAtTheCorner)
{
    const QImage picture = opaquePatternImage(5, 3);
    const int side = uniqueSquareSide(5, 3); // 9
    control->setPicture(picture);
    control->setAngle(-720);

    control->setCenter(true);
    ASSERT_EQ(control->rotatedImage().size(), QSize(side, side));
    EXPECT_EQ(control->rotatedImage().pixel(2, 3), picture.pixel(0, 0));
    EXPECT_EQ(control->rotatedImage().pixel(6, 5), picture.pixel(4, 2));
    EXPECT_EQ(control->rotatedImage().pixel(0, 0), KeyColour.rgb());

    control->setCenter(false);
    EXPECT_EQ(control->rotatedImage().pixel(0, 0), picture.pixel(0, 0));
    EXPECT_EQ(control->rotatedImage().pixel(8, 8), KeyColour.rgb());
}

TEST_F(RotatingImageTest, QuarterTurnPutsTheTopEdgeOnTheLeft)
{
    control->setUniqueSize(false);
    for (QSize size : {QSize(5, 3), QSize(4, 6)}) {
        const QImage picture = opaquePatternImage(size.width(), size.height());
        control->setPicture(picture);
        control->setAngle(90);
        EXPECT_EQ(firstDifference(control->rotatedImage(),
                                  turnedByHand(picture, Turn::CounterClockwise90)),
                  "");
    }
}

TEST_F(RotatingImageTest, MinusTwentyThousandDrawsLikeOneHundredSixty)
{
    control->setCenter(true);
    control->setPicture(opaquePatternImage(21, 13));
    control->setAngle(160);
    const QImage at160 = control->rotatedImage();
    control->setAngle(-20000);
    EXPECT_EQ(control->angle(), -20000);
    EXPECT_EQ(firstDifference(control->rotatedImage(), at160), "");
}

TEST_F(RotatingImageTest, UniqueSizeKeepsOneSquareForEveryAngle)
{
    control->setPicture(opaquePatternImage(100, 300));
    for (long double angle : {0.0L, 17.0L, 45.0L, 90.0L, 180.0L, -20000.0L, 359.5L}) {
        control->setAngle(angle);
        EXPECT_EQ(control->rotatedImage().size(), QSize(319, 319)) << double(angle);
    }

    control->setUniqueSize(false);
    control->setAngle(90);
    EXPECT_EQ(control->rotatedImage().size(), QSize(300, 100));
    control->setAngle(45);
    EXPECT_EQ(control->rotatedImage().size(), QSize(282, 282));
}

TEST_F(RotatingImageTest, OnlyRealChangesRebuild)
{
    control->setPicture(opaquePatternImage(9, 9));
    control->setAngle(30);
    const int rebuilds = control->rebuildCount();

    control->setAngle(30);
    control->setUniqueSize(true);
    control->setCenter(false);
    control->setStretch(false);
    control->setTransparent(false);
    EXPECT_EQ(control->rebuildCount(), rebuilds);

    // The comparison is exact: the next representable angle is a change.
    control->setAngle(std::nextafter(30.0L, 31.0L));
    EXPECT_EQ(control->rebuildCount(), rebuilds + 1);
    EXPECT_NE(control->angle(), 30);

    control->setCenter(true);
    control->setStretch(true);
    control->setTransparent(true);
    control->setUniqueSize(false);
    EXPECT_EQ(control->rebuildCount(), rebuilds + 5);
}

TEST_F(RotatingImageTest, TransparentPartsShowTheKeyAndAreLeftUndrawn)
{
    control->move(10, 10);
    control->setUniqueSize(false);
    control->setPicture(pictureWithTransparentColumn());
    EXPECT_EQ(control->rotatedImage().pixel(0, 0), KeyColour.rgb());
    EXPECT_EQ(control->rotatedImage().pixel(1, 0), PictureColour.rgb());

    // Opaque: the key colour is painted.
    QImage screen = grabParent();
    EXPECT_EQ(rgbAt(screen, 10, 10), KeyColour.rgb());
    EXPECT_EQ(rgbAt(screen, 11, 10), PictureColour.rgb());
    // The control's area beyond its image is not painted over.
    EXPECT_EQ(rgbAt(screen, 60, 60), ParentColour.rgb());

    control->setTransparent(true);
    screen = grabParent();
    EXPECT_EQ(rgbAt(screen, 10, 10), ParentColour.rgb());
    EXPECT_EQ(rgbAt(screen, 11, 10), PictureColour.rgb());

    // The same with the turned image stretched over the whole control.
    control->setStretch(true);
    control->setAngle(90); // now 2 x 4, its bottom row transparent
    screen = grabParent();
    EXPECT_EQ(rgbAt(screen, 10, 114), ParentColour.rgb());
    EXPECT_EQ(rgbAt(screen, 10, 10), PictureColour.rgb());
}

TEST_F(RotatingImageTest, KeyColourFollowsTheParentsPalette)
{
    control->setPicture(pictureWithTransparentColumn());
    const int rebuilds = control->rebuildCount();

    const QColor newKey(250, 240, 0);
    QPalette palette = parent.palette();
    palette.setColor(QPalette::Button, newKey);
    parent.setPalette(palette);
    EXPECT_EQ(control->keyColor(), newKey.rgb());
    EXPECT_EQ(control->rotatedImage().pixel(0, 0), newKey.rgb());
    EXPECT_GT(control->rebuildCount(), rebuilds);

    RotatingImage orphan;
    orphan.setUniqueSize(false);
    orphan.setPicture(pictureWithTransparentColumn());
    orphan.setParent(&parent);
    EXPECT_EQ(orphan.rotatedImage().pixel(0, 0), newKey.rgb());
    orphan.setParent(nullptr);
}

TEST_F(RotatingImageTest, CentredImageLargerThanTheControlShowsItsMiddle)
{
    const QImage picture = opaquePatternImage(201, 201);
    control->setUniqueSize(false);
    control->setCenter(true);
    control->setPicture(picture);
    EXPECT_EQ(control->paintRect(), QRect(-48, -48, 201, 201));

    const QImage shown = control->grab().toImage();
    EXPECT_EQ(rgbAt(shown, 0, 0), picture.pixel(48, 48));
    EXPECT_EQ(rgbAt(shown, 52, 52), picture.pixel(100, 100));
    EXPECT_EQ(rgbAt(shown, 104, 104), picture.pixel(152, 152));
}

TEST_F(RotatingImageTest, StretchRepeatsPixelsWithoutSmoothing)
{
    const QImage picture = opaquePatternImage(2, 2);
    control->resize(100, 100);
    control->setUniqueSize(false);
    control->setStretch(true);
    control->setPicture(picture);

    const QImage shown = control->grab().toImage();
    EXPECT_EQ(rgbAt(shown, 0, 0), picture.pixel(0, 0));
    EXPECT_EQ(rgbAt(shown, 49, 49), picture.pixel(0, 0));
    EXPECT_EQ(rgbAt(shown, 50, 50), picture.pixel(1, 1));
    EXPECT_EQ(rgbAt(shown, 99, 0), picture.pixel(1, 0));
}

namespace {

// A 60 x 180 picture: a red bar with a transparent surround.
QImage barPicture()
{
    QImage bar(60, 180, QImage::Format_ARGB32);
    bar.fill(Qt::transparent);
    for (int y = 10; y < 170; ++y)
        for (int x = 20; x < 40; ++x)
            bar.setPixel(x, y, PictureColour.rgb());
    return bar;
}

} // namespace

TEST_F(RotatingImageTest, AtDevicePixelsThePictureIsTurnedAtTheShownSize)
{
    // A red bar with a transparent surround: drawn at the control's pixels, the turned image
    // is the control's size, its red area that of the bar scaled to fit, and no pixel mixes
    // the key colour into the red.
    const QImage bar = barPicture();
    control->setGeometry(0, 0, 300, 300);
    control->setStretch(true);
    control->setCenter(true);
    control->setTransparent(true);
    control->setPicture(bar);
    control->setDrawAtDevicePixels(true);
    const double k = 300.0 / uniqueSquareSide(60, 180);
    // From rest to turning and back: at rest only the painted image is kept, and the turned one
    // is made again when asked for.
    for (const long double angle : {0.0L, 30.0L, -135.0L, 720.0L, 30.0L}) {
        control->setAngle(angle);
        const QImage& turned = control->rotatedImage();
        ASSERT_EQ(turned.size(), QSize(300, 300));
        int red = 0;
        for (int y = 0; y < 300; ++y)
            for (int x = 0; x < 300; ++x) {
                const QRgb p = rgbAt(turned, x, y);
                EXPECT_TRUE(p == KeyColour.rgb() || p == PictureColour.rgb())
                    << x << "," << y << " at " << double(angle);
                red += p == PictureColour.rgb();
            }
        EXPECT_NEAR(red, 20 * 160 * k * k, 20 * 160 * k * k * 0.05) << double(angle);
        EXPECT_EQ(control->paintRect(), QRect(0, 0, 300, 300));
    }
    // The control's new size is the new shown size; off again, the picture keeps its own.
    parent.show(); // a hidden control hears of its new size only when shown
    control->resize(200, 200);
    EXPECT_EQ(control->rotatedImage().size(), QSize(200, 200));
    control->setDrawAtDevicePixels(false);
    const int side = uniqueSquareSide(60, 180);
    EXPECT_EQ(control->rotatedImage().size(), QSize(side, side));
}

// At rest, with the frame left undrawn, only the picture is kept for painting, and it paints
// exactly where and as its framed turn would, centred or at the corner.
TEST_F(RotatingImageTest, AtRestThePictureAlonePaintsAsItsFrameWould)
{
    const QImage bar = barPicture();
    for (const bool center : {true, false}) {
        control->setGeometry(10, 20, 300, 290);
        control->setStretch(true);
        control->setCenter(center);
        control->setTransparent(true);
        control->setPicture(bar);
        control->setDrawAtDevicePixels(true);
        const DeviceDrawing drawing = deviceDrawing(bar.size(), control->size(), 1, true, true);
        const QRgb key = KeyColour.rgb();
        const QImage framed =
            paintReadyImage(turnedPicture(pictureOnKey(scaledHardEdged(bar, drawing.picture), key),
                                          key, 0, true, center, drawing.frame),
                            key, true);
        QImage expected(parent.size(), QImage::Format_RGB32);
        expected.fill(ParentColour);
        QPainter(&expected).drawImage(QRect(control->pos(), control->size()), framed);
        EXPECT_EQ(grabParent().convertToFormat(QImage::Format_RGB32), expected) << center;
    }
}

// A control that never turns lets its picture go once built and paints as one that keeps it,
// also at a new size, for which it reads the file again; with the file gone, it goes on
// painting what it painted, stretched to its new place.
TEST_F(RotatingImageTest, PictureReleasedAtRestPaintsAsKept)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("wheel.png"));
    QImage wheel(400, 380, QImage::Format_ARGB32);
    wheel.fill(Qt::transparent);
    {
        QPainter painter(&wheel);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(PictureColour);
        painter.drawEllipse(wheel.rect().adjusted(5, 5, -5, -5));
    }
    ASSERT_TRUE(wheel.save(path));
    RotatingImage* kept = control;
    auto* released = new RotatingImage(&parent);
    released->setPictureReleasedAtRest(true);
    for (RotatingImage* c : {kept, released}) {
        c->setGeometry(c == kept ? 0 : 200, 0, 190, 180);
        c->setUniqueSize(false);
        c->setStretch(true);
        c->setCenter(true);
        c->setTransparent(true);
        c->setDrawAtDevicePixels(true);
        c->setPicture(readPicture(path, c->shownSizeAt(c->size())));
    }
    parent.show();
    for (const QSize size : {QSize(190, 180), QSize(230, 220)}) {
        kept->resize(size);
        released->resize(size);
        EXPECT_EQ(released->grab().toImage(), kept->grab().toImage()) << size.width();
        EXPECT_TRUE(released->picture().isNull());
        EXPECT_FALSE(kept->picture().isNull());
    }
    ASSERT_TRUE(QFile::remove(path));
    released->resize(250, 240);
    const QImage shown = released->grab().toImage();
    EXPECT_EQ(shown.size(), QSize(250, 240));
    EXPECT_EQ(rgbAt(shown, 125, 120), PictureColour.rgb());
}
