#include "rotatingimage/turned_area.h"

#include "rotatingimage/rotating_image.h"
#include "test_images.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QPaintEvent>
#include <QPalette>
#include <memory>
#include <tuple>

namespace {

const QColor KeyColour(10, 200, 30);

// A long picture like the pointer: opaque pattern in its upper part with a transparent notch,
// the lower third left transparent, so the turned outline is much smaller than its square.
QImage pointerLikePicture()
{
    QImage picture = opaquePatternImage(24, 90);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (y >= 60 || (y < 20 && (x < 6 || x >= 18)))
                picture.setPixel(x, y, qRgba(0, 0, 0, 0));
    return picture;
}

// Records where the control was asked to paint.
class PaintRecorder : public QObject
{
public:
    QRegion painted;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            painted += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
};

// A shown parent that paints itself blue, with a pointer-like control on it.
struct Stage
{
    explicit Stage(std::tuple<bool, bool, bool> settings)
    {
        QPalette palette = parent.palette();
        palette.setColor(QPalette::Button, KeyColour);
        palette.setColor(QPalette::Window, Qt::blue);
        parent.setPalette(palette);
        parent.setAutoFillBackground(true);
        parent.resize(160, 160);
        control = new RotatingImage(&parent);
        control->setGeometry(20, 25, 110, 110);
        control->setDrawAtDevicePixels(true);
        control->setCenter(std::get<0>(settings));
        control->setTransparent(std::get<1>(settings));
        control->setStretch(std::get<2>(settings));
        control->setPicture(pointerLikePicture());
        parent.show();
        QCoreApplication::processEvents();
    }

    QImage grab() { return parent.grab().toImage().convertToFormat(QImage::Format_RGB32); }

    QWidget parent;
    RotatingImage* control;
};

class TurningInPlace : public ::testing::TestWithParam<std::tuple<bool, bool, bool>>
{
};

} // namespace

// A spin turns the control by many small steps, passing quarter and whole turns: each step
// shows exactly what a control built afresh at that angle shows, and the repaint it asks for
// covers every pixel that changed.
TEST_P(TurningInPlace, EachTurnShowsWhatAFreshBuildShowsAndRepaintsAllThatChanged)
{
    Stage spinning(GetParam());
    PaintRecorder recorder;
    spinning.control->installEventFilter(&recorder);
    const long double angles[] = {0,   17,    33.25, 90,     91.5,   180,  359.5,
                                  720, 725.5, 44.9,  -20000, -90.25, 3600, 12.5};
    for (const long double angle : angles) {
        SCOPED_TRACE(double(angle));
        QImage expected;
        {
            Stage fresh(GetParam());
            fresh.control->setAngle(angle);
            expected = fresh.grab();
        }
        // What showing and closing another window repaints is not the turn's.
        QCoreApplication::processEvents();
        const QImage before = spinning.grab();
        recorder.painted = QRegion();
        spinning.control->setAngle(angle);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
        const QRegion repainted = recorder.painted.translated(spinning.control->pos());
        const QImage after = spinning.grab();
        ASSERT_EQ(firstDifference(after, expected), "");

        for (int y = 0; y < after.height(); ++y) {
            for (int x = 0; x < after.width(); ++x) {
                if (after.pixel(x, y) != before.pixel(x, y)) {
                    ASSERT_TRUE(repainted.contains(QPoint(x, y))) << x << "," << y;
                }
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Settings, TurningInPlace,
                         ::testing::Combine(::testing::Bool(), ::testing::Bool(),
                                            ::testing::Bool()));

TEST(TurnedArea, OutlinesAndBandsAtTheirEdges)
{
    QImage onKey(8, 6, QImage::Format_ARGB32);
    onKey.fill(KeyColour.rgb());
    EXPECT_TRUE(contentOutline(onKey, KeyColour.rgb()).isEmpty()) << "key colour only";
    EXPECT_TRUE(contentOutline(QImage(), KeyColour.rgb()).isEmpty());

    // One pixel: its square.
    onKey.setPixel(3, 2, qRgb(255, 0, 0));
    EXPECT_EQ(contentOutline(onKey, KeyColour.rgb()).boundingRect(), QRectF(3, 2, 1, 1));
    // An alpha given with the key colour changes nothing.
    EXPECT_EQ(contentOutline(onKey, KeyColour.rgb() & 0x00ffffffu).size(), 4);

    // A triangle: every pixel it touches is covered, nothing outside bounds, and the bands
    // leave out most of the corner it does not reach.
    const QPolygonF triangle({QPointF(2, 2), QPointF(60, 2), QPointF(2, 60)});
    const QRect bounds(0, 0, 50, 100);
    const QRegion bands = bandsCovering(triangle, 1, 8, bounds);
    EXPECT_TRUE(bounds.contains(bands.boundingRect()));
    for (int y = 2; y < 60; ++y)
        for (int x = 2; x < 50 && x + y < 62; ++x)
            ASSERT_TRUE(bands.contains(QPoint(x, y))) << x << "," << y;
    EXPECT_FALSE(bands.contains(QPoint(45, 45)));
    EXPECT_TRUE(bandsCovering(QPolygonF(), 1, 8, bounds).isEmpty());
    EXPECT_TRUE(bandsCovering(triangle, 1, 8, QRect(200, 200, 10, 10)).isEmpty());
}
