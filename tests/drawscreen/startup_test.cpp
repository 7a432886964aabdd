#include "draw_screen_fixture.h"

#include "datafiles/app_paths.h"
#include "datafiles/system_files.h"
#include "drawscreen/image_control.h"
#include "rotatingimage/rotating_image.h"

#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextEdit>

using Startup = DrawScreenTest;

TEST_F(Startup, RestoresEveryElementFromTheSettings)
{
    folder.setSetting("zhizhen_left", "376");
    folder.setSetting("zhizhen_top", "88");
    folder.setSetting("biaoti_left", "-35");
    folder.setSetting("biaoti_top", "12");
    folder.setSetting("biaoti_text", gbk(QStringLiteral("年会抽奖")));
    folder.setSetting("pic3_left", "7");
    folder.setSetting("pic3_top", "9");
    folder.setSetting("present_left", "100");
    folder.setSetting("present_top", "200");
    startProgram();

    EXPECT_TRUE(boxes.boxes().isEmpty()) << boxes.texts().join('|').toStdString();
    EXPECT_EQ(screen->parts().pointerImage->pos(), QPoint(376, 88));
    // 195 div 2 = 97 and 179 div 2 = 89.
    EXPECT_EQ(screen->parts().wheelImage->pos(), QPoint(279, -1));
    EXPECT_EQ(screen->parts().titleLabel->pos(), QPoint(-35, 12));
    EXPECT_EQ(screen->parts().titleLabel->text(), QStringLiteral("年会抽奖"));
    EXPECT_EQ(screen->parts().prizeImages[2]->pos(), QPoint(7, 9));
    EXPECT_EQ(screen->parts().prizeList->pos(), QPoint(100, 200));
    EXPECT_EQ(screen->parts().startButton->y(), -100);
    EXPECT_FALSE(screen->parts().backgroundImage->picture().isNull());
    EXPECT_FALSE(screen->parts().pointerImage->picture().isNull());
    EXPECT_FALSE(screen->parts().prizeImages[7]->picture().isNull());
    EXPECT_EQ(screen->prizeName(1), QStringLiteral("特等奖：笔记本电脑"));
    EXPECT_EQ(screen->prizeName(8), QStringLiteral("参与奖：新春红包"));
    EXPECT_TRUE(screen->parts().counterLabel->text().isEmpty());
}

TEST_F(Startup, TitleTakesSizeInPointsAndColourValue)
{
    folder.setSetting("biaoti_size", "40");
    folder.setSetting("biaoti_color", "255");
    startProgram();
    EXPECT_EQ(screen->parts().titleLabel->font().pointSize(), 40);
    EXPECT_EQ(screen->parts().titleLabel->palette().color(QPalette::WindowText), QColor(255, 0, 0));
}

TEST_F(Startup, WheelCentringTruncatesTowardZero)
{
    screen = std::make_unique<DrawScreen>();
    screen->parts().wheelImage->resize(345, 345); // narrower than the 350 pointer: difference -5
    folder.setSetting("zhizhen_left", "100");
    folder.setSetting("zhizhen_top", "50");
    screen->FormShow();
    EXPECT_EQ(screen->parts().wheelImage->pos(), QPoint(102, 52));
}

TEST_F(Startup, OnlyOneShowsTheLists)
{
    for (const QByteArray& value :
         {QByteArray("0"), QByteArray("yes"), QByteArray(""), QByteArray()}) {
        folder.setSetting("present_xianshi", value);
        folder.setSetting("zhongjiang_xianshi", value);
        startProgram();
        EXPECT_TRUE(screen->parts().prizeList->isHidden()) << value.toStdString();
        EXPECT_TRUE(screen->parts().resultsList->isHidden());
        EXPECT_TRUE(screen->parts().counterLabel->isHidden());
    }
    folder.setSetting("present_xianshi", "1");
    folder.setSetting("zhongjiang_xianshi", "1");
    startProgram();
    EXPECT_FALSE(screen->parts().prizeList->isHidden());
    EXPECT_FALSE(screen->parts().resultsList->isHidden());
    EXPECT_FALSE(screen->parts().counterLabel->isHidden());
}

TEST_F(Startup, CounterRowSitsAboveTheBottomEdge)
{
    screen = std::make_unique<DrawScreen>();
    screen->show();
    screen->resize(1200, 900);
    const int outer = screen->frameGeometry().height();
    EXPECT_EQ(screen->parts().counterLabel->y(), outer - 36 - 100);
    EXPECT_EQ(screen->parts().resultsList->y(), outer - 36 - 100);
    EXPECT_EQ(screen->parts().counterLabel->x(), 112);
    EXPECT_EQ(screen->parts().resultsList->x(), 416);
    EXPECT_EQ(screen->parts().backgroundImage->size(), screen->size());
}

TEST_F(Startup, MissingPoolStopsTheRestoreAtOnce)
{
    folder.remove("data/db.dat");
    startProgram();
    ASSERT_EQ(boxes.errors().size(), 1);
    EXPECT_EQ(boxes.errors()[0], missingFileMessage(folder.file("data/db.dat"), true));
    EXPECT_EQ(boxes.boxes()[0].caption, QStringLiteral("Quenlo通用转盘摇奖"));
    EXPECT_TRUE(screen->parts().wheelImage->picture().isNull());
    EXPECT_EQ(screen->parts().titleLabel->text(), QStringLiteral("这里是摇奖活动标题"));
    EXPECT_EQ(screen->parts().prizeList->toPlainText(), QStringLiteral("prizeList"));
    EXPECT_EQ(screen->parts().pointerImage->pos(), QPoint(376, 88));
}

TEST_F(Startup, MissingPictureLeavesTheSettingsUnapplied)
{
    folder.remove("pic/3.png");
    startProgram();
    ASSERT_EQ(boxes.errors().size(), 1);
    EXPECT_EQ(boxes.errors()[0], missingFileMessage(folder.file("pic/3.png"), true));
    EXPECT_FALSE(screen->parts().prizeImages[1]->picture().isNull());
    EXPECT_TRUE(screen->parts().prizeImages[2]->picture().isNull());
    EXPECT_EQ(screen->parts().pointerImage->pos(), QPoint(376, 88));
}

TEST_F(Startup, DamagedPictureIsReportedNotCrashedOn)
{
    folder.write("pic/背景.png", "not a picture at all");
    startProgram();
    ASSERT_EQ(boxes.errors().size(), 1);
    EXPECT_TRUE(boxes.errors()[0].startsWith(
        QStringLiteral("Cannot open file \"%1\". ").arg(displayPath(folder.file("pic/背景.png")))));
}

TEST_F(Startup, AnotherWorkingFolderFindsTheDataButNotThePictures)
{
    folder.write("data/db.dat", "20000\r\n");
    QTemporaryDir elsewhere;
    QDir::setCurrent(elsewhere.path());
    startProgram();
    ASSERT_EQ(boxes.errors().size(), 1);
    // The folder is missing too: the cause is what the system says for that.
    const QString picture = elsewhere.path() + "/pic/背景.png";
    ASSERT_EQ(openFileForReading(picture), nullptr);
    EXPECT_EQ(boxes.errors()[0], missingFileMessage(picture, true, lastSystemError()));
    EXPECT_EQ(screen->session().draw().pool(), QList<int32_t>{20000});
}

TEST_F(Startup, MissingSettingsFileFailsAtTheFirstPosition)
{
    folder.remove("data/opt.ini");
    startProgram();
    ASSERT_EQ(boxes.errors().size(), 1);
    EXPECT_EQ(boxes.errors()[0], QStringLiteral("'zhizhen_left' is not a valid integer value."));
    EXPECT_FALSE(screen->parts().prizeImages[7]->picture().isNull());
    EXPECT_EQ(screen->parts().prizeList->toPlainText(), QStringLiteral("prizeList"));
}

TEST_F(Startup, MissingKeyStopsTheRestoreAfterTheKeysBeforeIt)
{
    folder.setSetting("biaoti_size", QByteArray());
    folder.setSetting("biaoti_text", "Gala");
    folder.setSetting("biaoti_top", "5");
    startProgram();
    EXPECT_EQ(boxes.errors(),
              QStringList{QStringLiteral("'biaoti_size' is not a valid integer value.")});
    EXPECT_EQ(screen->parts().titleLabel->text(), QStringLiteral("Gala"));
    EXPECT_EQ(screen->parts().titleLabel->y(), 5);
    EXPECT_EQ(screen->parts().prizeList->toPlainText(), QStringLiteral("prizeList"));
}

TEST_F(Startup, MissingTitleTextReadsItsKeyName)
{
    folder.setSetting("biaoti_text", QByteArray());
    startProgram();
    EXPECT_TRUE(boxes.boxes().isEmpty());
    EXPECT_EQ(screen->parts().titleLabel->text(), QStringLiteral("biaoti_text"));
}

TEST_F(Startup, MissingNamesFileKeepsTheListAndSkipsItsPlace)
{
    folder.remove("data/奖品.txt");
    folder.setSetting("present_left", "123");
    startProgram();
    ASSERT_EQ(boxes.errors().size(), 1);
    EXPECT_TRUE(boxes.errors()[0].contains(displayPath(folder.file("data/奖品.txt"))));
    EXPECT_EQ(screen->parts().prizeList->toPlainText(), QStringLiteral("prizeList"));
    EXPECT_NE(screen->parts().prizeList->x(), 123);
}

TEST_F(Startup, PoolDropsBlankLinesAndReportsDamagedOnesOnce)
{
    folder.write("data/db.dat", "20000\r\n\r\n  \r\nabc\r\n17000\r\n");
    startProgram();
    EXPECT_EQ(screen->session().draw().pool(), (QList<int32_t>{20000, 17000}));
    EXPECT_EQ(boxes.errors(), QStringList{QStringLiteral("'abc' is not a valid integer value.")});
    // The restore went on past the report.
    EXPECT_FALSE(screen->parts().pointerImage->picture().isNull());
    EXPECT_EQ(screen->prizeName(1), QStringLiteral("特等奖：笔记本电脑"));
}

TEST_F(Startup, NamesFileWithFinalBreakMakesNoExtraLine)
{
    folder.write("data/奖品.txt", gbk(QStringLiteral("甲\r\n乙\r\n")));
    startProgram();
    EXPECT_EQ(screen->parts().prizeList->toPlainText(), QStringLiteral("甲\n乙"));
    EXPECT_EQ(screen->prizeName(3), QString());
}

TEST_F(Startup, TheFrameCannotBeDraggedToResizeOutOfTheMaximisedState)
{
    screen = std::make_unique<DrawScreen>();
    screen->showMaximized();
    QCoreApplication::processEvents();
    EXPECT_EQ(screen->maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    const QSize maximised = screen->size();
    for (int round = 0; round < 2; ++round) {
        screen->showNormal();
        QCoreApplication::processEvents();
        const QSize normal = screen->size();
        EXPECT_EQ(screen->minimumSize(), normal);
        EXPECT_EQ(screen->maximumSize(), normal);
        screen->resize(normal + QSize(40, 30)); // as a drag on the frame asks
        EXPECT_EQ(screen->size(), normal);
        screen->showMaximized();
        QCoreApplication::processEvents();
        EXPECT_EQ(screen->size(), maximised);
    }
}
