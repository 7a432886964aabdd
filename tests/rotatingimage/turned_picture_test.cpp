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

TEST(PaintRectFor, StretchesCentresOrKeepsTheTopLeft)
{
    const QSize client(105, 105);
    EXPECT_EQ(paintRectFor(client, QSize(30, 40), true, true), QRect(0, 0, 105, 105));
    EXPECT_EQ(paintRectFor(client, QSize(30, 40), false, true), QRect(37, 32, 30, 40));
    EXPECT_EQ(paintRectFor(client, QSize(30, 40), false, false), QRect(0, 0, 30, 40));
    // A larger image shows its middle; the halving truncates toward zero.
    EXPECT_EQ(paintRectFor(client, QSize(201, 110), false, true), QRect(-48, -2, 201, 110));
}
