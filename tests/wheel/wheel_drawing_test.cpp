#include "wheel/wheel_drawing.h"
#include "wheel/wheel_geometry.h"

#include <QImage>
#include <QtMath>
#include <gtest/gtest.h>
#include <cmath>

namespace {

const std::array<QString, 8> ShippedNames = {
    QStringLiteral("特等奖：笔记本电脑"), QStringLiteral("一等奖：智能手机"),
    QStringLiteral("二等奖：平板电脑"),   QStringLiteral("三等奖：蓝牙耳机"),
    QStringLiteral("四等奖：智能手环"),   QStringLiteral("五等奖：保温杯"),
    QStringLiteral("幸运奖：精美台历"),   QStringLiteral("参与奖：新春大红包（每人一个）")};

WheelContent content(const std::array<QString, 8>& names)
{
    WheelContent c;
    c.names = names;
    c.fontFamily = QStringLiteral("黑体");
    return c;
}

QPointF atBearing(const WheelGeometry& g, double radius, double degrees)
{
    const double a = qDegreesToRadians(degrees);
    return {g.centre().x() + radius * std::sin(a), g.centre().y() - radius * std::cos(a)};
}

int distance(QRgb a, QRgb b)
{
    return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
           std::abs(qBlue(a) - qBlue(b));
}

QRgb pixelAt(const QImage& image, QPointF at)
{
    return image.pixel(int(std::floor(at.x())), int(std::floor(at.y())));
}

// The sizes the wheel is drawn at: 1920 × 1080 unscaled, 3840 × 2160 with the layout doubled,
// and 2× desktop scaling, which gives the same device pixels by another road.
class DrawnWheelPixels : public ::testing::TestWithParam<QSize>
{
};

} // namespace

TEST_P(DrawnWheelPixels, FacesEndExactlyAtTheSectorTableEdges)
{
    const QImage wheel = drawWheel(GetParam(), content(ShippedNames));
    const WheelGeometry g(GetParam());
    // Between the names and the hub, where only the faces and the edges' fine lines are.
    for (const double radius : {g.face() * 0.45, g.face() * 0.6}) {
        for (int slot = 1; slot <= 8; ++slot) {
            const SectorSpan span = slotSpan(slot);
            const QRgb own = pixelAt(wheel, atBearing(g, radius, span.middle()));
            const int next = slot % 8 + 1;
            const QRgb neighbour = pixelAt(wheel, atBearing(g, radius, slotSpan(next).middle()));
            const QRgb inside = pixelAt(wheel, atBearing(g, radius, span.to - 0.7));
            const QRgb outside = pixelAt(wheel, atBearing(g, radius, span.to + 0.7));
            EXPECT_LT(distance(inside, own), distance(inside, neighbour))
                << "slot " << slot << " radius " << radius;
            EXPECT_LT(distance(outside, neighbour), distance(outside, own))
                << "slot " << next << " radius " << radius;
            const QRgb first = pixelAt(wheel, atBearing(g, radius, span.from + 0.7));
            EXPECT_LT(distance(first, own), 40) << "slot " << slot;
        }
    }
}

TEST_P(DrawnWheelPixels, EveryNameStaysOnItsOwnSector)
{
    const QSize size = GetParam();
    const QImage plain = drawWheel(size, content({}));
    const WheelGeometry g(size);
    std::array<QString, 8> longNames = ShippedNames;
    longNames[7] = QString(60, QChar(0x798F)); // 60 characters
    longNames[2] = QStringLiteral("Supercalifragilisticexpialidocious");
    for (const auto& names : {ShippedNames, longNames}) {
        for (int slot = 1; slot <= 8; ++slot) {
            // One name at a time: whatever it changes must lie on its own sector's face.
            std::array<QString, 8> one{};
            one[slot - 1] = names[slot - 1];
            const QImage named = drawWheel(size, content(one));
            int changed = 0;
            for (int y = 0; y < size.height(); ++y) {
                for (int x = 0; x < size.width(); ++x) {
                    if (named.pixel(x, y) == plain.pixel(x, y))
                        continue;
                    ++changed;
                    ASSERT_EQ(g.slotAt(QPointF(x + 0.5, y + 0.5)), slot)
                        << "slot " << slot << " pixel " << x << "," << y;
                }
            }
            EXPECT_GT(changed, 50) << "slot " << slot << " shows no name";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Screens, DrawnWheelPixels,
                         ::testing::Values(QSize(545, 529), QSize(1090, 1058)),
                         [](const ::testing::TestParamInfo<QSize>& info) {
                             return std::to_string(info.param.width()) + "x" +
                                    std::to_string(info.param.height());
                         });

TEST(DrawnWheel, NamesInkContrastsWithItsFace)
{
    for (int slot = 1; slot <= 8; ++slot) {
        const QColor face = faceColour(slot);
        const QColor ink = nameColourOn(face);
        // Dark on gold and orange, light on red and crimson.
        EXPECT_EQ(ink.lightness() > 128,
                  face.lightness() < 100 || (face.red() > 200 && face.green() < 60))
            << "slot " << slot;
        EXPECT_NE(faceColour(slot), faceColour(slot % 8 + 1));
    }
    EXPECT_EQ(describeWheel(ShippedNames).count(QStringLiteral("；")), 7);
    EXPECT_TRUE(describeWheel(ShippedNames).startsWith(QStringLiteral("1 特等奖：笔记本电脑；2 ")));
}
