#include "draw_screen_fixture.h"
#include "mouse_events.h"

#include "drawscreen/image_control.h"
#include "rotatingimage/rotating_image.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMouseEvent>
#include <QTextEdit>

class Arranging : public DrawScreenTest
{
protected:
    void SetUp() override { startProgram(); }
    QPoint wheelOffset() const
    {
        return screen->parts().wheelImage->pos() - screen->parts().pointerImage->pos();
    }
    void reloadNamesFile(const QString& firstName)
    {
        folder.write("data/奖品.txt", gbk(firstName + QStringLiteral("\r\n")));
    }
};

TEST_F(Arranging, DraggingThePointerCarriesTheWheelAndStoresThePlace)
{
    const QPoint pointer = screen->parts().pointerImage->pos();
    const QPoint wheel = screen->parts().wheelImage->pos();
    press(screen->parts().pointerImage, {10, 10});
    moveHolding(screen->parts().pointerImage, {40, -15});
    moveHolding(screen->parts().pointerImage, {15, 20}); // relative to the element's new place
    release(screen->parts().pointerImage, {15, 20});

    const QPoint moved(35, -15);
    EXPECT_EQ(screen->parts().pointerImage->pos(), pointer + moved);
    EXPECT_EQ(screen->parts().wheelImage->pos(), wheel + moved);
    EXPECT_EQ(folder.setting("zhizhen_left"), QByteArray::number(pointer.x() + 35));
    EXPECT_EQ(folder.setting("zhizhen_top"), QByteArray::number(pointer.y() - 15));
    EXPECT_TRUE(boxes.boxes().isEmpty());
}

TEST_F(Arranging, HoveringRewritesThePlaceAndRecentresTheWheel)
{
    folder.setSetting("zhizhen_left", "1");
    screen->parts().wheelImage->move(0, 0);
    moveHolding(screen->parts().pointerImage, {100, 100}, Qt::NoButton);
    EXPECT_EQ(wheelOffset(), QPoint(-97, -89));
    EXPECT_EQ(folder.setting("zhizhen_left"),
              QByteArray::number(screen->parts().pointerImage->x()));
}

TEST_F(Arranging, NegativePlacesAreStoredAndRestored)
{
    const QPoint title = screen->parts().titleLabel->pos();
    press(screen->parts().titleLabel, {50, 10});
    moveHolding(screen->parts().titleLabel, {50 - title.x() - 35, 10});
    release(screen->parts().titleLabel, {0, 0});
    EXPECT_EQ(screen->parts().titleLabel->x(), -35);
    EXPECT_EQ(folder.setting("biaoti_left"), QByteArray("-35"));

    startProgram();
    EXPECT_EQ(screen->parts().titleLabel->x(), -35);
}

TEST_F(Arranging, TheTopmostElementTakesThePress)
{
    RotatingImage* pointer = screen->parts().pointerImage;
    ImageControl* picture = screen->parts().prizeImages[0];
    picture->move(pointer->x() + 100, pointer->y() + 100);
    EXPECT_EQ(screen->childAt(picture->geometry().center()), picture);
    // A transparent corner of the pointer's square still belongs to the pointer.
    EXPECT_EQ(screen->childAt(pointer->pos() + QPoint(2, 2)), pointer);
    // The empty picture above the title swallows presses on its area.
    screen->parts().titleLabel->move(screen->parts().emptyFrontImage->pos() - QPoint(5, 5));
    EXPECT_EQ(screen->childAt(screen->parts().emptyFrontImage->geometry().center()),
              screen->parts().emptyFrontImage);

    const QPoint pointerBefore = pointer->pos();
    press(picture, {5, 5});
    moveHolding(picture, {25, 5});
    release(picture, {25, 5});
    EXPECT_EQ(pointer->pos(), pointerBefore);
    EXPECT_EQ(folder.setting("pic1_left"), QByteArray::number(pointerBefore.x() + 120));
}

TEST_F(Arranging, ReleasesReloadTheNamesExceptOnPrizePictures)
{
    reloadNamesFile(QStringLiteral("新名字"));
    press(screen->parts().prizeImages[3], {1, 1});
    release(screen->parts().prizeImages[3], {1, 1});
    EXPECT_EQ(screen->prizeName(1), QStringLiteral("特等奖：笔记本电脑"));

    for (QWidget* element : {static_cast<QWidget*>(screen->parts().pointerImage),
                             static_cast<QWidget*>(screen->parts().titleLabel),
                             screen->parts().prizeList->viewport()}) {
        reloadNamesFile(QStringLiteral("重载%1").arg(quintptr(element)));
        press(element, {1, 1});
        release(element, {1, 1});
        EXPECT_EQ(screen->prizeName(1), QStringLiteral("重载%1").arg(quintptr(element)));
    }
    // The results list is pressed and released but never moves; disabled as laid out, it
    // reloads nothing either.
    reloadNamesFile(QStringLiteral("不重载"));
    const QPoint results = screen->parts().resultsList->pos();
    press(screen->parts().resultsList->viewport(), {1, 1});
    moveHolding(screen->parts().resultsList->viewport(), {50, 50});
    release(screen->parts().resultsList->viewport(), {50, 50});
    EXPECT_EQ(screen->parts().resultsList->pos(), results);
    EXPECT_NE(screen->prizeName(1), QStringLiteral("不重载"));
}

TEST_F(Arranging, RightButtonDragsOnlyWhileTheCursorIsOnTheElement)
{
    ImageControl* picture = screen->parts().prizeImages[4];
    const QPoint start = picture->pos();
    press(picture, {10, 10}, Qt::RightButton);
    moveHolding(picture, {30, 10}, Qt::RightButton);
    EXPECT_EQ(picture->pos(), start + QPoint(20, 0));
    moveHolding(picture, {500, 500}, Qt::RightButton); // jumped off the 60 x 60 picture
    EXPECT_EQ(picture->pos(), start + QPoint(20, 0));
    release(picture, {500, 500}, Qt::RightButton);
}

TEST_F(Arranging, ElementsFollowOnlyAHeldButton)
{
    // A press whose release went elsewhere leaves the drag flag set; the bare cursor must
    // still not carry elements along.
    ImageControl* picture = screen->parts().prizeImages[5];
    const QPoint start = picture->pos();
    press(picture, {10, 10}, Qt::RightButton);
    moveHolding(picture, {40, 40}, Qt::NoButton);
    EXPECT_EQ(picture->pos(), start);
    EXPECT_EQ(folder.setting("pic6_left"), QByteArray::number(start.x()));
}

TEST_F(Arranging, UnwritableSettingsReportTheFileAndKeepTheMove)
{
    const QString ini = folder.file("data/opt.ini");
    QFile::remove(ini);
    QDir().mkpath(ini); // a folder where the file should be: nothing can be written there
    const QPoint start = screen->parts().pointerImage->pos();
    press(screen->parts().pointerImage, {10, 10});
    moveHolding(screen->parts().pointerImage, {20, 10});
    EXPECT_EQ(screen->parts().pointerImage->pos(), start + QPoint(10, 0));
    EXPECT_EQ(screen->parts().wheelImage->pos() - screen->parts().pointerImage->pos(),
              QPoint(-97, -89));
    EXPECT_EQ(boxes.errors(), QStringList{QStringLiteral("Unable to write to %1.").arg(ini)});
    moveHolding(screen->parts().pointerImage, {20, 10});
    EXPECT_EQ(boxes.errors().size(), 2);
}

TEST_F(Arranging, EveryPressGrabsAndTheDisabledResultsListTakesNone)
{
    // Pressed again quickly, an element is grabbed by the double-click event as by a press.
    ImageControl* picture = screen->parts().prizeImages[2];
    const QPoint start = picture->pos();
    press(picture, {10, 10});
    release(picture, {10, 10});
    sendMouse(picture, QEvent::MouseButtonDblClick, {20, 20}, Qt::LeftButton, Qt::LeftButton);
    moveHolding(picture, {25, 20});
    release(picture, {25, 20});
    EXPECT_EQ(picture->pos(), start + QPoint(5, 0));

    // A press on the disabled results list sets no drag flag: a later move with a button
    // held over a picture whose own press went elsewhere moves nothing.
    for (const auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonDblClick}) {
        sendMouse(screen->parts().resultsList->viewport(), type, {1, 1}, Qt::RightButton,
                  Qt::RightButton);
        moveHolding(picture, {40, 40}, Qt::RightButton);
        EXPECT_EQ(picture->pos(), start + QPoint(5, 0));
    }
}
