#include "draw_screen_fixture.h"

#include "drawscreen/drawn_wheel.h"
#include "rotatingimage/rotating_image.h"
#include "wheel/wheel_geometry.h"

#include <QTextEdit>

using DrawnWheelScreen = DrawScreenTest;

namespace {

struct WheelKeyCase
{
    QByteArray value; // null: the key is missing
    bool drawn;
};

} // namespace

// Only "1" draws the wheel; anything else, or no key, shows pic/转盘.png as it always did, and
// a start reads and writes the same files either way.
TEST_F(DrawnWheelScreen, TheKeyChoosesBetweenTheDrawnWheelAndItsPicture)
{
    const WheelKeyCase cases[] = {
        {"1", true}, {QByteArray(), false}, {"0", false}, {"", false}, {"yes", false}};
    for (const WheelKeyCase& c : cases) {
        folder.setSetting("zhuanpan_mingcheng", c.value);
        const QByteArray settings = folder.read("data/opt.ini");
        startFreshProgram();
        const RotatingImage* wheel = screen->parts().wheelImage;
        EXPECT_EQ(screen->drawnWheel() != nullptr, c.drawn) << c.value.constData();
        EXPECT_TRUE(boxes.boxes().isEmpty()) << boxes.texts().join('|').toStdString();
        EXPECT_EQ(folder.read("data/opt.ini"), settings);
        EXPECT_FALSE(wheel->rotatedImage().isNull());
        EXPECT_EQ(wheel->accessibleName(), QStringLiteral("转盘"));
        EXPECT_EQ(wheel->accessibleDescription().contains(QStringLiteral("1 特等奖：笔记本电脑；")),
                  c.drawn);
    }
}

TEST_F(DrawnWheelScreen, AMissingOrBrokenWheelPictureIsNoErrorWhenDrawn)
{
    // The first start draws the wheel; the next, with the same names, reads it back.
    int start = 0;
    for (const QByteArray& picture : {QByteArray(), QByteArray("GIF89a not a png")}) {
        if (picture.isNull())
            folder.remove(QStringLiteral("pic/转盘.png"));
        else
            folder.write("pic/转盘.png", picture);
        startFreshProgram();
        boxes.clear(); // what start-up told of the sound device
        screen->parts().wheelImage->rotatedImage();
        ASSERT_NE(screen->drawnWheel(), nullptr);
        EXPECT_EQ(screen->drawnWheel()->drawCount(), start++ == 0 ? 1 : 0);
        EXPECT_FALSE(screen->parts().wheelImage->rotatedImage().isNull());
    }
}

TEST_F(DrawnWheelScreen, FollowsTheNamesAndIsNeverDrawnInASpin)
{
    startProgram();
    const DrawnWheel* wheel = screen->drawnWheel();
    ASSERT_NE(wheel, nullptr);
    EXPECT_EQ(wheel->content().names[7], QStringLiteral("参与奖：新春红包"));
    const int drawn = wheel->drawCount();

    // Loaded again unchanged, the names cost nothing; a changed one draws the wheel once.
    screen->reloadPrizeNames();
    EXPECT_EQ(wheel->drawCount(), drawn);
    folder.write("data/奖品.txt",
                 gbk(QStringLiteral("甲\r\n乙\r\n丙\r\n丁\r\n戊\r\n己\r\n庚\r\n辛\r\n")));
    screen->reloadPrizeNames();
    screen->parts().wheelImage->rotatedImage();
    EXPECT_EQ(wheel->content().names[0], QStringLiteral("甲"));
    EXPECT_TRUE(screen->parts().wheelImage->accessibleDescription().startsWith(
        QStringLiteral("1 甲；2 乙")));
    const int renamed = wheel->drawCount();
    EXPECT_GT(renamed, drawn);

    screen->startButtonClick();
    runSpin();
    EXPECT_EQ(screen->resultsCount(), 1);
    EXPECT_EQ(wheel->drawCount(), renamed);
}

// At the screen's own pixels: the same test program runs again with 2× desktop scaling.
TEST_F(DrawnWheelScreen, IsDrawnAtTheScreensPixels)
{
    startProgram();
    const RotatingImage* wheel = screen->parts().wheelImage;
    const double ratio = wheel->devicePixelRatioF();
    const QImage shown = wheel->rotatedImage();
    EXPECT_EQ(shown.size(), QSize(qRound(wheel->width() * ratio), qRound(wheel->height() * ratio)));
    // Its faces end where the sector table says, whatever the pixels.
    const WheelGeometry geometry(shown.size());
    const QPointF top = geometry.centre() - QPointF(0, geometry.face() * 0.5);
    const QPointF right = geometry.centre() + QPointF(geometry.face() * 0.5, 0);
    EXPECT_EQ(geometry.slotAt(top), 1);
    EXPECT_EQ(geometry.slotAt(right), 3);
    EXPECT_NE(shown.pixel(top.toPoint()), shown.pixel(right.toPoint()));
}
