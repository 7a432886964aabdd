// The draw screen on a client area of another size than its layout was made for: the whole
// scene scaled and centred, the results row kept its scaled distance from the bottom, drags
// stored in layout pixels, and the layout as it was without a usable layout size.
#include "draw_screen_fixture.h"

#include "drawscreen/image_control.h"
#include "rotatingimage/rotating_image.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QTextEdit>

namespace {

void sendMouse(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButtons held)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(at), QPointF(target->mapToGlobal(at)), button, held,
                      Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

QPoint storedPlace(const TestProgramFolder& folder, const char* left, const char* top)
{
    return {folder.setting(left).toInt(), folder.setting(top).toInt()};
}

} // namespace

class Fitting : public DrawScreenTest
{
protected:
    // A layout made for 1920 x 1050, shown on a client area of the given size.
    void startAt(QSize client, const QByteArray& width = "1920", const QByteArray& height = "1050")
    {
        folder.setSetting("pingmu_kuan", width);
        folder.setSetting("pingmu_gao", height);
        startProgram();
        screen->resize(client);
        screen->FormResize();
    }
};

TEST_F(Fitting, TheSceneIsScaledCentredAndFollowsTheClientArea)
{
    startAt({1200, 525}); // s = 0.5, the 960 pixels of the scene centred: 120 either side
    EXPECT_DOUBLE_EQ(screen->screenScale().factor(), 0.5);
    const QPoint pointer = storedPlace(folder, "zhizhen_left", "zhizhen_top");
    EXPECT_EQ(screen->parts().pointerImage->geometry(),
              QRect(120 + (pointer.x() + 1) / 2, (pointer.y() + 1) / 2, 175, 175));
    EXPECT_EQ(screen->parts().wheelImage->size(), QSize(273, 265));
    EXPECT_EQ(screen->parts().wheelImage->geometry().center(),
              screen->parts().pointerImage->geometry().center());
    for (int k = 0; k < 8; ++k) {
        const QByteArray key = "pic" + QByteArray::number(k + 1);
        const QPoint place = storedPlace(folder, key + "_left", key + "_top");
        EXPECT_EQ(screen->parts().prizeImages[k]->geometry(),
                  QRect(screen->screenScale().toScreen(place), QSize(30, 30)))
            << k + 1;
    }
    const QPoint title = storedPlace(folder, "biaoti_left", "biaoti_top");
    EXPECT_EQ(screen->parts().titleLabel->geometry(),
              QRect(screen->screenScale().toScreen(title), QSize(600, 61)));
    EXPECT_DOUBLE_EQ(screen->parts().titleLabel->font().pointSizeF(),
                     folder.setting("biaoti_size").toInt() / 2.0);
    EXPECT_EQ(screen->parts().prizeList->font().pixelSize(), 14);
    EXPECT_EQ(screen->parts().resultsList->font().pixelSize(), 10);
    EXPECT_EQ(screen->parts().counterLabel->font().pixelSize(), 10);
    const int outer = screen->frameGeometry().height();
    EXPECT_EQ(screen->parts().counterLabel->geometry(), QRect(120 + 56, outer - 68, 153, 18));
    EXPECT_EQ(screen->parts().resultsList->geometry(), QRect(120 + 208, outer - 68, 365, 25));
    EXPECT_EQ(screen->parts().backgroundImage->geometry(), screen->rect());

    // The layout's own size shows every element at its stored place and design size.
    screen->resize(1920, 1050);
    screen->FormResize();
    EXPECT_FALSE(screen->screenScale().isScaled());
    EXPECT_EQ(screen->parts().pointerImage->geometry(), QRect(pointer, QSize(350, 350)));
    EXPECT_EQ(screen->parts().wheelImage->pos() - pointer, QPoint(-97, -89));
    EXPECT_EQ(screen->parts().titleLabel->geometry(), QRect(title, QSize(1200, 121)));
    EXPECT_EQ(screen->parts().prizeList->font().pixelSize(), 27);
    EXPECT_EQ(screen->parts().counterLabel->geometry(),
              QRect(112, screen->frameGeometry().height() - 136, 305, 36));
    EXPECT_TRUE(boxes.boxes().isEmpty());
}

TEST_F(Fitting, ADragFollowsTheMouseAndStoresLayoutPixels)
{
    startAt({1200, 525});
    const QPoint stored = storedPlace(folder, "zhizhen_left", "zhizhen_top");
    const QPoint onScreen = screen->parts().pointerImage->pos();
    // Passing over the pointer rewrites its place unchanged, whatever the rounding.
    sendMouse(screen->parts().pointerImage, QEvent::MouseMove, {5, 5}, Qt::NoButton);
    EXPECT_EQ(storedPlace(folder, "zhizhen_left", "zhizhen_top"), stored);

    sendMouse(screen->parts().pointerImage, QEvent::MouseButtonPress, {10, 10}, Qt::LeftButton);
    sendMouse(screen->parts().pointerImage, QEvent::MouseMove, {21, 6}, Qt::LeftButton);
    sendMouse(screen->parts().pointerImage, QEvent::MouseButtonRelease, {21, 6}, Qt::NoButton);
    EXPECT_EQ(screen->parts().pointerImage->pos(), onScreen + QPoint(11, -4));
    EXPECT_EQ(screen->parts().wheelImage->geometry().center(),
              screen->parts().pointerImage->geometry().center());
    const QPoint written = storedPlace(folder, "zhizhen_left", "zhizhen_top");
    EXPECT_EQ(written, QPoint((onScreen.x() + 11 - 120) * 2, (onScreen.y() - 4) * 2));

    // The next start on the same screen puts it where it was left; unscaled it is at the place
    // written.
    startAt({1200, 525});
    EXPECT_EQ(screen->parts().pointerImage->pos(), onScreen + QPoint(11, -4));
    startAt({1920, 1050});
    EXPECT_EQ(screen->parts().pointerImage->pos(), written);
}

TEST_F(Fitting, WithoutAUsableLayoutSizePlacesAreClientPixels)
{
    for (const QByteArray& width : {QByteArray(), QByteArray("0"), QByteArray("-1920"),
                                    QByteArray("1920x"), QByteArray("宽")}) {
        startAt({1200, 525}, width, "1050");
        EXPECT_FALSE(screen->screenScale().isScaled()) << width.data();
        EXPECT_EQ(screen->parts().pointerImage->geometry(),
                  QRect(storedPlace(folder, "zhizhen_left", "zhizhen_top"), QSize(350, 350)))
            << width.data();
        EXPECT_EQ(screen->parts().prizeList->font().pixelSize(), 27) << width.data();
    }
    EXPECT_TRUE(boxes.boxes().isEmpty());
}
