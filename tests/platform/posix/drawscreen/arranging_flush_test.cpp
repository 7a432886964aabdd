#include "drawscreen/draw_screen_fixture.h"
#include "drawscreen/mouse_events.h"

#include "drawscreen/image_control.h"
#include "rotatingimage/rotating_image.h"

#include <QDir>
#include <QLabel>
#include <QTextEdit>
#include <chrono>
#include <thread>

#include "support/io_calls.h"

class ArrangingFlush : public DrawScreenTest
{
protected:
    void SetUp() override { startProgram(); }
};

TEST_F(ArrangingFlush, EachMoveWritesBothKeysInOneWriteAndFlushesOffTheUiThread)
{
    const QByteArray settings = QDir(folder.file("data/opt.ini")).canonicalPath().toUtf8();
    const QByteArray data = settings.left(settings.lastIndexOf('/'));
    const struct
    {
        QWidget* element;
        const char* left;
        const char* top;
    } elements[] = {{screen->parts().pointerImage, "zhizhen_left", "zhizhen_top"},
                    {screen->parts().titleLabel, "biaoti_left", "biaoti_top"},
                    {screen->parts().prizeImages[4], "pic5_left", "pic5_top"},
                    {screen->parts().prizeList->viewport(), "present_left", "present_top"}};
    takeIoCalls();
    std::vector<IoCall> all;
    for (const auto& e : elements) {
        QWidget* moved = e.element == screen->parts().prizeList->viewport()
                             ? screen->parts().prizeList
                             : e.element;
        press(e.element, {5, 5});
        for (int step = 1; step <= 3; ++step)
            moveHolding(e.element, {5 + step, 5});
        release(e.element, {8, 5});
        // What the file holds after the moves is the place, at once.
        EXPECT_EQ(folder.setting(e.left), QByteArray::number(moved->x()));
        EXPECT_EQ(folder.setting(e.top), QByteArray::number(moved->y()));
        int renames = 0;
        const std::vector<IoCall> calls = takeIoCalls();
        all.insert(all.end(), calls.begin(), calls.end());
        for (const IoCall& io : calls) {
            renames += io.call == "rename" && io.path == settings.toStdString();
            EXPECT_FALSE(io.call == "fsync" && io.onUiThread) << io.path;
        }
        EXPECT_EQ(renames, 3) << e.left; // one write per move
    }
    // A worker flushes the file and then its folder.
    bool fileFlushed = false;
    bool folderFlushed = false;
    for (int wait = 0; wait < 500 && !(fileFlushed && folderFlushed); ++wait) {
        const std::vector<IoCall> calls = takeIoCalls();
        all.insert(all.end(), calls.begin(), calls.end());
        for (const IoCall& io : all) {
            fileFlushed |=
                io.call == "fsync" && !io.onUiThread && io.path == settings.toStdString();
            folderFlushed |= io.call == "fsync" && !io.onUiThread && io.path == data.toStdString();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(fileFlushed);
    EXPECT_TRUE(folderFlushed);
}
