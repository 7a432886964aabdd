// The arithmetic that fits the layout to the client area: which keys give a layout size, the
// factor and the centring, rounding of places and sizes, the results row, and a drag written
// back in layout pixels.
#include "drawscreen/screen_scale.h"

#include <gtest/gtest.h>

namespace {

const QSize Layout(1920, 1050);

ScreenScale scaleFor(QSize client)
{
    return ScreenScale::forClient(Layout, client);
}

} // namespace

TEST(ScreenScale, OnlyTwoPositiveWholeNumbersGiveALayoutSize)
{
    EXPECT_EQ(ScreenScale::layoutSizeFrom("1920", "1050"), QSize(1920, 1050));
    EXPECT_EQ(ScreenScale::layoutSizeFrom(" 800", "+600"), QSize(800, 600));
    const std::pair<QByteArray, QByteArray> refused[] = {
        {"pingmu_kuan", "pingmu_gao"}, // missing keys read as their names
        {"1920", "pingmu_gao"},
        {"0", "1050"},
        {"1920", "-1050"},
        {"", ""},
        {"1920.5", "1050"},
        {"1920px", "1050"},
        {"99999999999", "1050"}};
    for (const auto& [w, h] : refused)
        EXPECT_EQ(ScreenScale::layoutSizeFrom(w, h), std::nullopt) << w.data() << " " << h.data();
}

TEST(ScreenScale, FactorIsTheTighterSideSnappedNearOneAndTheSceneCentred)
{
    struct Case
    {
        QSize client;
        double factor;
        int offset;
    } const cases[] = {
        {{1920, 1050}, 1.0, 0},         {{1920, 1017}, 1.0, 0}, // another task bar: unscaled
        {{1920, 1100}, 1.0, 0},         {{2000, 1050}, 1.0, 40},  {{1024, 745}, 1024.0 / 1920, 0},
        {{3840, 2130}, 2.0, 0},         {{3840, 1575}, 1.5, 480}, {{1920, 525}, 0.5, 480},
        {{1366, 741}, 741.0 / 1050, 6},
    };
    for (const Case& c : cases) {
        const ScreenScale scale = scaleFor(c.client);
        EXPECT_DOUBLE_EQ(scale.factor(), c.factor) << c.client.width() << "x" << c.client.height();
        EXPECT_EQ(scale.offsetX(), c.offset) << c.client.width() << "x" << c.client.height();
    }
    // Without a layout size, or before the window has a size, places are client pixels.
    for (const ScreenScale& none : {ScreenScale::forClient(std::nullopt, {1024, 768}),
                                    ScreenScale::forClient(Layout, {0, 0}), ScreenScale()}) {
        EXPECT_FALSE(none.isScaled());
        EXPECT_EQ(none.toScreen(QRect(-35, 7, 545, 529)), QRect(-35, 7, 545, 529));
        EXPECT_EQ(none.toLayout({-35, 7}, {0, 0}), QPoint(-35, 7));
        EXPECT_EQ(none.rowTop(1080, 36, 100), 944);
    }
}

TEST(ScreenScale, PlacesSizesFontsAndTheResultsRowScaleAndRound)
{
    const ScreenScale half = scaleFor({1920, 525}); // s = 0.5, 480 pixels either side
    EXPECT_EQ(half.toScreen(QPoint(785, 300)), QPoint(480 + 393, 150)); // 392.5 rounds away
    EXPECT_EQ(half.toScreen(QPoint(-35, 7)), QPoint(480 - 18, 4));
    EXPECT_EQ(half.toScreen(QSize(545, 529)), QSize(273, 265));
    EXPECT_EQ(half.rowTop(600, 36, 100), 600 - 68);

    const ScreenScale small = scaleFor({1024, 745});
    EXPECT_EQ(small.toScreen(QRect(250, 300, 345, 433)), QRect(133, 160, 184, 231));
    QFont pixels;
    pixels.setPixelSize(27);
    EXPECT_EQ(small.toScreen(pixels).pixelSize(), 14);
    pixels.setPixelSize(1);
    EXPECT_EQ(small.toScreen(pixels).pixelSize(), 1); // never vanishes
    QFont points;
    points.setPointSize(40);
    EXPECT_DOUBLE_EQ(scaleFor({3840, 2130}).toScreen(points).pointSizeF(), 80);
    EXPECT_DOUBLE_EQ(ScreenScale().toScreen(points).pointSizeF(), 40);
}

TEST(ScreenScale, ADragIsWrittenBackInLayoutPixels)
{
    const ScreenScale half = scaleFor({1920, 525});
    // Still where its place shows it: the stored place stays, although 873 / 0.5 is not 785.
    EXPECT_EQ(half.toLayout({873, 150}, {785, 300}), QPoint(785, 300));
    // Moved on screen: the place it would have at s = 1.
    EXPECT_EQ(half.toLayout({874, 151}, {785, 300}), QPoint(788, 302));
    EXPECT_EQ(half.toLayout({400, -10}, {785, 300}), QPoint(-160, -20));
    // Enlarged, every layout place shows at its own screen place and comes back unchanged.
    for (const ScreenScale& scale : {scaleFor({3840, 2130}), scaleFor({3840, 1575})})
        for (int x = -40; x <= 40; ++x) {
            const QPoint place(x, 3 * x + 1);
            EXPECT_EQ(scale.toLayout(scale.toScreen(place), {0, 0}), place) << x;
        }
}
