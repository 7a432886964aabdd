#include "drawscreen/confetti_drawing.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <QTransform>
#include <cstdlib>
#include <tuple>

namespace {

// The piece as Qt's painter fills it, antialiased: the look the drawing keeps.
QImage paintedByQt(const ConfettiPiece& piece, QSize size, qreal scale)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(scale, scale);
    painter.translate(piece.centre);
    painter.rotate(piece.angle);
    QColor colour = piece.colour;
    colour.setAlphaF(piece.alpha);
    const QSizeF s(piece.size.width() * piece.flip, piece.size.height());
    painter.fillRect(QRectF(-s.width() / 2, -s.height() / 2, s.width(), s.height()), colour);
    return image;
}

class ConfettiDrawing
    : public ::testing::TestWithParam<std::tuple<qreal /*angle*/, qreal /*flip*/, qreal /*scale*/>>
{
};

} // namespace

// Each piece covers the pixels Qt's own antialiased fill covers, in the same place and turned
// the same way, to within an edge's antialiasing, and nothing outside its bounds.
TEST_P(ConfettiDrawing, CoversWhatQtsFillCoversAndNothingOutsideItsBounds)
{
    const auto [angle, flip, scale] = GetParam();
    ConfettiPiece piece;
    piece.centre = QPointF(20.3, 17.6);
    piece.size = QSizeF(14, 7);
    piece.angle = angle;
    piece.flip = flip;
    piece.colour = QColor(0xffffc107);
    piece.alpha = 0.8;
    piece.box = CelebrationScene::bounds(piece);
    const QSize size = (QSizeF(44, 36) * scale).toSize();
    QImage drawn(size, QImage::Format_RGB32);
    drawn.fill(Qt::black);
    drawConfettiPiece(drawn, piece, scale);
    const QImage expected = paintedByQt(piece, size, scale);

    const QRect box = QRectF(QPointF(piece.box.topLeft()) * scale, QSizeF(piece.box.size()) * scale)
                          .toAlignedRect();
    long drawnGreen = 0;
    long expectedGreen = 0;
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            const int got = qGreen(drawn.pixel(x, y));
            const int want = qGreen(expected.pixel(x, y));
            drawnGreen += got;
            expectedGreen += want;
            ASSERT_LE(std::abs(got - want), 96) << x << "," << y;
            if (!box.contains(x, y)) {
                ASSERT_EQ(drawn.pixel(x, y), qRgb(0, 0, 0)) << x << "," << y;
            }
        }
    }
    // The same amount of colour in all: the area and the opacity are right.
    EXPECT_NEAR(double(drawnGreen), double(expectedGreen), 0.04 * double(expectedGreen));
}

INSTANTIATE_TEST_SUITE_P(Turns, ConfettiDrawing,
                         ::testing::Combine(::testing::Values(0.0, 30.0, 90.0, 137.5, -61.0),
                                            ::testing::Values(1.0, 0.4, 0.15),
                                            ::testing::Values(1.0, 2.0)));

TEST(ConfettiDrawingEdges, APieceOffTheImageOrFadedDrawsNothing)
{
    QImage image(20, 20, QImage::Format_RGB32);
    image.fill(Qt::black);
    ConfettiPiece piece;
    piece.size = QSizeF(12, 6);
    piece.colour = Qt::red;
    piece.centre = QPointF(-30, 50);
    piece.box = CelebrationScene::bounds(piece);
    drawConfettiPiece(image, piece, 1);
    piece.centre = QPointF(10, 10);
    piece.box = CelebrationScene::bounds(piece);
    piece.alpha = 0;
    drawConfettiPiece(image, piece, 1);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ASSERT_EQ(image.pixel(x, y), qRgb(0, 0, 0));
}
