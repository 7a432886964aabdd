// Damaged or absurd files in the program folder give a message, never a crash or a hang.
#include "draw_screen_fixture.h"

#include "datafiles/app_paths.h"

#include "drawscreen/image_control.h"
#include "rotatingimage/rotating_image.h"

#include <QLabel>
#include <QTextEdit>
#include <random>

using BadFiles = DrawScreenTest;

TEST_F(BadFiles, HugeSettingsFileStillRestoresTheScreen)
{
    // The real settings first, then 100 MB of lines that are no settings at all.
    QByteArray text = folder.read("data/opt.ini");
    const QByteArray junk = QByteArray(99, 'x') + "\r\n";
    text.reserve(text.size() + 100 * 1024 * 1024);
    while (text.size() < 100 * 1024 * 1024)
        text += junk;
    folder.write("data/opt.ini", text);
    folder.setSetting("kongzhimoshi", "1");
    startProgram();
    EXPECT_TRUE(boxes.boxes().isEmpty()) << boxes.texts().join('|').toStdString();
    EXPECT_EQ(QByteArray::number(screen->parts().pointerImage->x()),
              folder.setting("zhizhen_left"));
    screen->startButtonClick();
    EXPECT_TRUE(screen->parts().spinTimer->isActive());
}

TEST_F(BadFiles, BinaryGarbageSettingsReportTheFirstNumber)
{
    std::mt19937 rng(7);
    QByteArray garbage(64 * 1024, '\0');
    for (char& c : garbage)
        c = static_cast<char>(rng());
    folder.write("data/opt.ini", garbage);
    startProgram();
    EXPECT_EQ(boxes.errors(),
              QStringList{QStringLiteral("'zhizhen_left' is not a valid integer value.")});
    screen->startButtonClick(); // no mode: a notice, no endless spin
    EXPECT_FALSE(screen->parts().spinTimer->isActive());
}

TEST_F(BadFiles, MillionLinePoolLoads)
{
    QByteArray pool;
    pool.reserve(8 * 1000000);
    for (int i = 0; i < 1000000; ++i)
        pool += QByteArray::number(16560 + i % 11857) + "\r\n";
    folder.write("data/db.dat", pool);
    folder.setSetting("kongzhimoshi", "3");
    startProgram();
    EXPECT_EQ(screen->session().draw().pool().size(), 1000000);
    screen->startButtonClick();
    const int before = screen->session().draw().pool().size();
    runSpin();
    EXPECT_EQ(screen->session().draw().pool().size(), before - 1);
    EXPECT_EQ(screen->resultsCount(), 1);
}

TEST_F(BadFiles, TruncatedOrFakePicturesAreReported)
{
    folder.setSetting("zhuanpan_mingcheng", QByteArray()); // the wheel's picture is shown
    const QByteArray wheel = folder.read("pic/转盘.png");
    folder.write("pic/转盘.png", wheel.left(wheel.size() / 3));
    startProgram();
    ASSERT_EQ(boxes.errors().size(), 1);
    EXPECT_TRUE(boxes.errors()[0].startsWith(
        QStringLiteral("Cannot open file \"%1\"").arg(displayPath(folder.file("pic/转盘.png")))))
        << boxes.errors()[0].toStdString();

    boxes.clear();
    folder.write("pic/转盘.png", wheel);
    folder.write("pic/指针.png", "GIF89a this is not a png");
    startProgram();
    ASSERT_EQ(boxes.errors().size(), 1);
    EXPECT_TRUE(boxes.errors()[0].contains(displayPath(folder.file("pic/指针.png"))));
}

TEST_F(BadFiles, NamesThatAreNotGbkStillShowAndAnnounce)
{
    folder.write("data/奖品.txt", QByteArray("\x81\r\n\xff\xfe\r\nok\xa1\r\n"));
    folder.write("data/db.dat", "16560\r\n");
    folder.setSetting("kongzhimoshi", "3");
    startProgram();
    EXPECT_TRUE(boxes.boxes().isEmpty());
    screen->startButtonClick();
    runSpin();
    EXPECT_EQ(screen->resultsCount(), 1);
    EXPECT_TRUE(lastResult().startsWith(QStringLiteral("恭喜！你获得了奖品     ")));
}
