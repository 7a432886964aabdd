#include "rotatingimage/turned_picture.h"

#include "test_images.h"

#include <gtest/gtest.h>

namespace {

const QRgb Key = qRgb(10, 200, 30);

} // namespace

TEST(UniqueSquareSide, IsTheRoundedDiagonalOfThePictureWithAPixelAround)
{
    EXPECT_EQ(uniqueSquareSide(100, 300), 319); // sqrt(101608) = 318.76
    EXPECT_EQ(uniqueSquareSide(300, 100), 319);
    EXPECT_EQ(uniqueSquareSide(250, 250), 356); // 356.38 rounds down
    EXPECT_EQ(uniqueSquareSide(1, 1), 4);       // 4.24
}

TEST(IsWholeTurn, OnlyForMultiplesOf360)
{
    for (long double angle : {0.0L, 360.0L, -720.0L, 36000.0L, -0.0L})
        EXPECT_TRUE(isWholeTurn(angle)) << double(angle);
    for (long double angle : {180.0L, -90.0L, 359.9L, 360.0000001L, -20000.0L})
        EXPECT_FALSE(isWholeTurn(angle)) << double(angle);
}

TEST(PictureOnKey, TransparentPartsKeepTheKeyAndTheRestIsBlended)
{
    QImage picture(3, 1, QImage::Format_ARGB32);
    picture.setPixel(0, 0, qRgba(0, 0, 0, 0));
    picture.setPixel(1, 0, qRgba(255, 0, 0, 255));
    picture.setPixel(2, 0, qRgba(255, 255, 255, 128));

    const QImage onKey = pictureOnKey(picture, Key);
    EXPECT_EQ(onKey.format(), QImage::Format_ARGB32);
    EXPECT_EQ(onKey.pixel(0, 0), Key);
    EXPECT_EQ(onKey.pixel(1, 0), qRgb(255, 0, 0));
    const QRgb blended = onKey.pixel(2, 0);
    EXPECT_EQ(qAlpha(blended), 255);
    EXPECT_NEAR(qRed(blended), (255 + 10) / 2, 2);
    EXPECT_NEAR(qGreen(blended), (255 + 200) / 2, 2);
    EXPECT_NEAR(qBlue(blended), (255 + 30) / 2, 2);
}

TEST(PlaceInSquare, CentresWithOffsetsHalvedOrPutsAtTheTopLeft)
{
    const QImage image = opaquePatternImage(4, 3);
    const QImage centred = placeInSquare(image, 9, Key, true);
    ASSERT_EQ(centred.size(), QSize(9, 9));
    // (9 - 4) div 2 = 2 and (9 - 3) div 2 = 3.
    EXPECT_EQ(centred.pixel(2, 3), image.pixel(0, 0));
    EXPECT_EQ(centred.pixel(5, 5), image.pixel(3, 2));
    EXPECT_EQ(centred.pixel(1, 3), Key);
    EXPECT_EQ(centred.pixel(6, 3), Key);
    EXPECT_EQ(centred.pixel(2, 2), Key);
    EXPECT_EQ(centred.pixel(2, 6), Key);

    const QImage atCorner = placeInSquare(image, 9, Key, false);
    EXPECT_EQ(atCorner.pixel(0, 0), image.pixel(0, 0));
    EXPECT_EQ(atCorner.pixel(3, 2), image.pixel(3, 2));
    EXPECT_EQ(atCorner.pixel(4, 0), Key);
    EXPECT_EQ(atCorner.pixel(8, 8), Key);
}

TEST(PaintReadyImage, LeavesOutTheKeyOnlyWhenTransparent)
{
    QImage image(2, 1, QImage::Format_ARGB32);
    image.setPixel(0, 0, Key);
    image.setPixel(1, 0, qRgb(1, 2, 3));

    const QImage keyed = paintReadyImage(image, Key, true);
    EXPECT_EQ(keyed.format(), QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(keyed.pixel(0, 0), 0u);
    EXPECT_EQ(keyed.pixel(1, 0), qRgb(1, 2, 3));

    const QImage plain = paintReadyImage(image, Key, false);
    EXPECT_EQ(plain.pixel(0, 0), Key);
    EXPECT_EQ(plain.pixel(1, 0), qRgb(1, 2, 3));
}

TEST(PaintReadyInFrame, IsTheFramedImageMadePaintReady)
{
    // Opaque with some key pixels, and with half-transparent ones for the premultiplying; the
    // frames are larger, smaller in one direction and cut on both sides.
    QImage opaque = opaquePatternImage(7, 5);
    opaque.setPixel(0, 0, Key);
    opaque.setPixel(3, 2, Key);
    const QImage images[] = {opaque, patternImage(7, 5)};
    const QSize frames[] = {QSize(11, 9), QSize(7, 5), QSize(12, 3), QSize(4, 4)};
    for (const QImage& image : images)
        for (const QSize frame : frames)
            for (const bool center : {false, true})
                for (const bool transparent : {false, true}) {
                    const QImage expected =
                        paintReadyImage(placeInFrame(image, frame, Key, center), Key, transparent);
                    const QImage fused = paintReadyInFrame(image, frame, Key, center, transparent);
                    ASSERT_EQ(fused.format(), expected.format());
                    EXPECT_EQ(fused, expected)
                        << frame.width() << "x" << frame.height() << " center " << center
                        << " transparent " << transparent << " " << image.hasAlphaChannel();
                }
}

TEST(PaintRectFor, StretchesCentresOrKeepsTheTopLeft)
{
    const QSize client(105, 105);
    EXPECT_EQ(paintRectFor(client, QSize(30, 40), true, true), QRect(0, 0, 105, 105));
    EXPECT_EQ(paintRectFor(client, QSize(30, 40), false, true), QRect(37, 32, 30, 40));
    EXPECT_EQ(paintRectFor(client, QSize(30, 40), false, false), QRect(0, 0, 30, 40));
    // A larger image shows its middle; the halving truncates toward zero.
    EXPECT_EQ(paintRectFor(client, QSize(201, 110), false, true), QRect(-48, -2, 201, 110));
}

TEST(DeviceDrawing, ScalesThePictureToTheShownPixelsBeforeTheTurn)
{
    struct Case
    {
        QSize picture, client;
        double ratio;
        bool uniqueSize, stretch;
        QSize scaledPicture, frame;
    } const cases[] = {
        // The shipped pointer (diagonal square 715) on a 350 control, at 1x and 2x.
        {{203, 683}, {350, 350}, 1, true, true, {99, 334}, {350, 350}},
        {{203, 683}, {350, 350}, 2, true, true, {199, 669}, {700, 700}},
        {{203, 683}, {700, 700}, 1, true, true, {199, 669}, {700, 700}},
        // The wheel, never turned: scaled straight to the control's pixels.
        {{1090, 1058}, {545, 529}, 1, false, true, {545, 529}, {545, 529}},
        {{1090, 1058}, {273, 265}, 2, false, true, {546, 530}, {546, 530}},
        // Not stretched, the picture keeps its own size in the control's pixels.
        {{100, 300}, {50, 50}, 2, true, false, {200, 600}, {638, 638}},
        {{100, 300}, {50, 50}, 1.5, false, false, {150, 450}, {150, 450}},
        {{0, 10}, {50, 50}, 2, true, true, {}, {}},
    };
    for (const Case& c : cases) {
        const DeviceDrawing d =
            deviceDrawing(c.picture, c.client, c.ratio, c.uniqueSize, c.stretch);
        EXPECT_EQ(d.picture, c.scaledPicture) << c.picture.width() << " at " << c.ratio;
        EXPECT_EQ(d.frame, c.frame) << c.picture.width() << " at " << c.ratio;
    }
}

TEST(ScaledHardEdged, SmoothsInsideAndLeavesNoHalfTransparentEdge)
{
    QImage picture(40, 40, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    for (int y = 10; y < 30; ++y)
        for (int x = 10; x < 30; ++x)
            picture.setPixel(x, y, x < 20 ? qRgb(255, 0, 0) : qRgb(0, 0, 255));
    const QImage scaled = scaledHardEdged(picture, {17, 17});
    ASSERT_EQ(scaled.size(), QSize(17, 17));
    int opaque = 0;
    bool blended = false;
    for (int y = 0; y < 17; ++y)
        for (int x = 0; x < 17; ++x) {
            const QRgb p = scaled.pixel(x, y);
            EXPECT_TRUE(qAlpha(p) == 0 || qAlpha(p) == 255) << x << "," << y;
            opaque += qAlpha(p) == 255;
            // Inside, the colours are mixed where red meets blue, never with the transparent
            // surround's black.
            if (qAlpha(p) == 255) {
                EXPECT_EQ(qRed(p) + qBlue(p) >= 250, true) << x << "," << y;
                blended |= qRed(p) > 20 && qBlue(p) > 20;
            }
        }
    EXPECT_NEAR(opaque, 8.5 * 8.5, 20);
    EXPECT_TRUE(blended);
}
