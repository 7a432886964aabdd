#include "rotatingimage/rotate_bitmap.h"

#include "test_images.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

const QRgb Background = 0x12345678; // an unlikely value, alpha included

// Odd and even, and one that spans several of the blocks larger pictures are copied in.
const std::vector<QSize> Sizes = {{1, 1}, {2, 1}, {4, 6}, {5, 3},
                                  {4, 3}, {7, 2}, {6, 9}, {70, 133}};

long double reducedByRepeatedSteps(long double angle)
{
    while (angle > 180)
        angle -= 360;
    while (angle < -180)
        angle += 360;
    return angle;
}

// The turn written straight from its definition: every product formed in full and divided
// with a real floor, without the row-wise stepping.
QImage rotatedByDefinition(const QImage& source, QRgb background, long double angle)
{
    const long double a = reduceAngle(angle);
    const TurnFactors f = turnFactors(a);
    const int64_t s = f.sine;
    const int64_t c = f.cosine;
    const int64_t sw = source.width();
    const int64_t sh = source.height();
    const int64_t dw = (std::llabs(c) * sw + std::llabs(s) * sh) / 65536;
    const int64_t dh = (std::llabs(s) * sw + std::llabs(c) * sh) / 65536;
    int64_t dcx = dw - 1 - dw / 2;
    if (dw % 2 == 0 && (a == 0 || a == -90))
        dcx = dw / 2;
    int64_t dcy = dh / 2;
    if (dh % 2 == 0 && (a == 0 || a == 90))
        dcy = dh / 2 - 1;
    auto floorDiv = [](int64_t n) { return int64_t(std::floor(n / 65536.0L)); };

    QImage out(int(dw), int(dh), QImage::Format_ARGB32);
    for (int64_t j = 0; j < dh; ++j) {
        for (int64_t i = 0; i < dw; ++i) {
            const int64_t u = i - dcx;
            const int64_t v = dcy - j;
            const int64_t column = sw / 2 + floorDiv(u * c - v * s);
            const int64_t rowFromBottom = sh / 2 + floorDiv(u * s + v * c);
            const bool inside =
                column >= 0 && column < sw && rowFromBottom >= 0 && rowFromBottom < sh;
            out.setPixel(int(i), int(j),
                         inside ? source.pixel(int(column), int(sh - 1 - rowFromBottom))
                                : background);
        }
    }
    return out;
}

std::string sizeName(QSize size)
{
    return std::to_string(size.width()) + "x" + std::to_string(size.height());
}

} // namespace

TEST(ReduceAngle, KeepsTheHalfTurnsAndFoldsEverythingElseIntoThem)
{
    EXPECT_EQ(reduceAngle(180), 180);
    EXPECT_EQ(reduceAngle(-180), -180);
    EXPECT_EQ(reduceAngle(540), 180);
    EXPECT_EQ(reduceAngle(-540), -180);
    EXPECT_EQ(reduceAngle(-20000), 160);
    EXPECT_EQ(reduceAngle(181), -179);
    EXPECT_EQ(reduceAngle(-181), 179);
    EXPECT_EQ(reduceAngle(360), 0);
    EXPECT_EQ(reduceAngle(-720), 0);
    EXPECT_EQ(reduceAngle(-17.5L), -17.5L);
}

TEST(ReduceAngle, EqualsRepeatedStepsOf360ForFractionalAngles)
{
    for (long double angle :
         {12345.678L, -29999.9L, 30000.1L, 539.999L, -540.001L, 180.5L, -0.1L, 359.75L, 1e4L / 3}) {
        EXPECT_EQ(reduceAngle(angle), reducedByRepeatedSteps(angle)) << double(angle);
    }
}

TEST(TurnFactors, AreExactAtQuarterAndHalfTurns)
{
    auto expectFactors = [](long double a, int32_t sine, int32_t cosine) {
        const TurnFactors f = turnFactors(a);
        EXPECT_EQ(f.sine, sine) << double(a);
        EXPECT_EQ(f.cosine, cosine) << double(a);
    };
    expectFactors(0, 0, 65536);
    expectFactors(90, -65536, 0);
    expectFactors(-90, 65536, 0);
    expectFactors(180, 0, -65536);
    expectFactors(-180, 0, -65536);
    // Truncated toward zero, not rounded: sin 45 * 65536 is 46340.95.
    expectFactors(-45, 46340, 46340);
    expectFactors(45, -46340, 46340);
}

TEST(RotateBitmap, QuarterAndHalfTurnsMoveEveryPixelToItsOnePlace)
{
    struct Case
    {
        long double angle;
        Turn turn;
    };
    const Case cases[] = {{90, Turn::CounterClockwise90},
                          {-270, Turn::CounterClockwise90},
                          {450, Turn::CounterClockwise90},
                          {-90, Turn::Clockwise90},
                          {270, Turn::Clockwise90},
                          {180, Turn::Half},
                          {-180, Turn::Half},
                          {540, Turn::Half}};
    for (QSize size : Sizes) {
        const QImage source = patternImage(size.width(), size.height());
        for (const Case& c : cases) {
            const QImage turned = rotateBitmap(source, Background, c.angle);
            EXPECT_EQ(turned.format(), QImage::Format_ARGB32);
            EXPECT_EQ(firstDifference(turned, turnedByHand(source, c.turn)), "")
                << sizeName(size) << " at " << double(c.angle);
        }
    }
}

TEST(RotateBitmap, NoTurnGivesThePictureBack)
{
    for (QSize size : Sizes) {
        const QImage source = patternImage(size.width(), size.height());
        for (long double angle : {0.0L, 360.0L, -720.0L})
            EXPECT_EQ(firstDifference(rotateBitmap(source, Background, angle), source), "")
                << sizeName(size) << " at " << double(angle);
    }
}

TEST(RotateBitmap, AnyAngleMatchesTheTurnWrittenFromItsDefinition)
{
    std::vector<long double> angles = {33.3L, 45.0L,    -123.7L, 179.5L, -1.0L,
                                       89.9L, 1000.25L, 90.0L,   -90.0L, 180.0L};
    for (long double angle = -180; angle <= 180; angle += 7.3L)
        angles.push_back(angle);
    for (QSize size : {QSize(5, 3), QSize(4, 6), QSize(31, 17), QSize(40, 40), QSize(1, 9)}) {
        const QImage source = patternImage(size.width(), size.height());
        for (long double angle : angles) {
            EXPECT_EQ(firstDifference(rotateBitmap(source, Background, angle),
                                      rotatedByDefinition(source, Background, angle)),
                      "")
                << sizeName(size) << " at " << double(angle);
        }
    }
}

TEST(RotateBitmap, LargePicturesMatchAcrossTheBlocksTheyAreCopiedIn)
{
    // Wider than several of the blocks of columns and taller than several bands of rows, with
    // sizes that are multiples of neither.
    const QImage source = patternImage(613, 457);
    for (long double angle : {33.3L, -161.0L, 0.5L}) {
        EXPECT_EQ(firstDifference(rotateBitmap(source, Background, angle),
                                  rotatedByDefinition(source, Background, angle)),
                  "")
            << "613x457 at " << double(angle);
    }
    const Turn turns[] = {Turn::CounterClockwise90, Turn::Clockwise90, Turn::Half};
    const long double angles[] = {90, -90, 180};
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(firstDifference(rotateBitmap(source, Background, angles[k]),
                                  turnedByHand(source, turns[k])),
                  "")
            << "613x457 at " << double(angles[k]);
    }
}

TEST(RotateBitmap, LargeAnglesTurnLikeTheirReducedValue)
{
    const QImage source = patternImage(23, 14);
    const QImage at160 = rotateBitmap(source, Background, 160);
    EXPECT_EQ(firstDifference(rotateBitmap(source, Background, -20000), at160), "");
    EXPECT_NE(firstDifference(rotateBitmap(source, Background, -160), at160), "");
}

TEST(RotateBitmap, SizeIsTheTurnedBoundingBoxWithFractionsDropped)
{
    const QImage source = patternImage(100, 300);
    EXPECT_EQ(rotateBitmap(source, Background, 90).size(), QSize(300, 100));
    EXPECT_EQ(rotateBitmap(source, Background, 45).size(), QSize(282, 282));
    EXPECT_EQ(rotateBitmap(source, Background, -45).size(), QSize(282, 282));
    EXPECT_EQ(rotateBitmap(source, Background, 30).size(), QSize(236, 309));
}

TEST(RotateBitmap, UncoveredCornersTakeTheBackgroundAsGiven)
{
    const QImage turned = rotateBitmap(patternImage(20, 20), Background, 45);
    const int last = turned.width() - 1;
    EXPECT_EQ(turned.pixel(0, 0), Background);
    EXPECT_EQ(turned.pixel(last, 0), Background);
    EXPECT_EQ(turned.pixel(0, last), Background);
    EXPECT_EQ(turned.pixel(last, last), Background);
    EXPECT_NE(turned.pixel(last / 2, last / 2), Background);
}

TEST(RotateBitmap, OtherFormatsAreTurnedAsTheir32BitValues)
{
    QImage rgb(5, 4, QImage::Format_RGB888);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x)
            rgb.setPixel(x, y, qRgb(x * 50, y * 60, 7));
    const QImage expected =
        turnedByHand(rgb.convertToFormat(QImage::Format_ARGB32), Turn::CounterClockwise90);
    EXPECT_EQ(firstDifference(rotateBitmap(rgb, Background, 90), expected), "");

    const QImage rgb32 = rgb.convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(firstDifference(rotateBitmap(rgb32, Background, 90), expected), "");
}

TEST(RotateBitmap, EmptyPictureGivesEmptyResult)
{
    EXPECT_TRUE(rotateBitmap(QImage(), Background, 30).isNull());
    EXPECT_TRUE(rotateBitmap(QImage(), Background, 0).isNull());
}
