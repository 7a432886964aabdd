#include "draw_screen_fixture.h"

#include "drawscreen/celebration_overlay.h"
#include "rotatingimage/rotating_image.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

namespace {
const QString Prefix = QStringLiteral("恭喜！你获得了奖品     ");
const QString AllDrawn = QStringLiteral("所有奖品已经摇完！");
const QString InvalidMode = QStringLiteral("控制模式设置无效，请在设置中重新选择控制模式！");
} // namespace

using Spin = DrawScreenTest;

TEST_F(Spin, FullyRandomSpinStopsAndAnnouncesTheSlotUnderThePointer)
{
    folder.setSetting("kongzhimoshi", "1");
    startProgram();
    screen->startButtonClick();
    ASSERT_TRUE(screen->parts().spinTimer->isActive());
    EXPECT_GE(screen->session().draw().spinTarget(), 18360);
    EXPECT_LE(screen->session().draw().spinTarget(), 26999);
    screen->session().draw().setSpinTarget(18360);
    EXPECT_EQ(runSpin(), 61);
    EXPECT_EQ(screen->parts().pointerImage->angle(), -18117.0L);
    EXPECT_EQ(lastResult(), Prefix + QStringLiteral("三等奖：蓝牙耳机"));
    EXPECT_EQ(screen->parts().counterLabel->text(), QStringLiteral("累计送出奖品数量：1个"));
    EXPECT_TRUE(boxes.boxes().isEmpty());

    // The next spin starts upright again, whatever the last one ended at.
    screen->startButtonClick();
    EXPECT_EQ(screen->parts().pointerImage->angle(), 0.0L);
    screen->session().draw().setSpinTarget(26999);
    EXPECT_EQ(runSpin(), 90);
    EXPECT_EQ(lastResult(), Prefix + QStringLiteral("二等奖：平板电脑"));
    EXPECT_EQ(screen->parts().counterLabel->text(), QStringLiteral("累计送出奖品数量：2个"));
}

TEST_F(Spin, QuotaSpinLandsExactlyOnThePoolEntryAndUsesItUp)
{
    folder.setSetting("kongzhimoshi", "3");
    folder.write("data/db.dat", "20000\r\n17000\r\n");
    startProgram();
    screen->startButtonClick();
    screen->session().draw().setPoolIndex(0);
    EXPECT_EQ(runSpin(), 67);
    EXPECT_EQ(screen->parts().pointerImage->angle(), -20000.0L);
    EXPECT_EQ(lastResult(), Prefix + QStringLiteral("四等奖：智能手环"));
    EXPECT_EQ(screen->session().draw().pool(), QList<int32_t>{17000});
    EXPECT_TRUE(boxes.boxes().isEmpty());
    // The file is not changed by drawing.
    EXPECT_EQ(folder.read("data/db.dat"), QByteArray("20000\r\n17000\r\n"));
}

TEST_F(Spin, SmallEntriesStopOnTheFirstTickAndJumpToTheEntry)
{
    folder.setSetting("kongzhimoshi", "3");
    folder.write("data/db.dat", "100\r\n");
    startProgram();
    screen->startButtonClick();
    EXPECT_EQ(runSpin(), 1);
    EXPECT_EQ(screen->parts().pointerImage->angle(), -100.0L);
    EXPECT_EQ(lastResult(), Prefix + QStringLiteral("二等奖：平板电脑"));
}

TEST_F(Spin, DrawingTheLastEntryAnnouncesThenReportsAllDrawn)
{
    folder.setSetting("kongzhimoshi", "3");
    folder.write("data/db.dat", "593\r\n");
    startProgram();
    screen->startButtonClick();
    EXPECT_EQ(runSpin(), 1);
    EXPECT_EQ(screen->resultsCount(), 1);
    // Not over the last prize's celebration: once it has gone.
    ASSERT_TRUE(screen->parts().celebration->celebrating());
    EXPECT_TRUE(boxes.boxes().isEmpty());
    screen->parts().celebration->dismiss();
    ASSERT_EQ(boxes.boxes().size(), 1);
    EXPECT_EQ(boxes.boxes()[0].text, AllDrawn);
    EXPECT_EQ(boxes.boxes()[0].caption, QStringLiteral("提示"));
    EXPECT_EQ(boxes.boxes()[0].kind, MessageBoxRequest::Kind::Notice);

    // Every later start turns once and reports it again, announcing nothing.
    screen->startButtonClick();
    EXPECT_EQ(runSpin(), 1);
    EXPECT_EQ(screen->parts().pointerImage->angle(), -297.0L);
    EXPECT_EQ(screen->resultsCount(), 1);
    EXPECT_EQ(boxes.texts(), (QStringList{AllDrawn, AllDrawn}));
}

TEST_F(Spin, EmptyPoolReportsAllDrawnWithoutAnnouncement)
{
    folder.setSetting("kongzhimoshi", "3");
    folder.write("data/db.dat", "");
    startProgram();
    screen->startButtonClick();
    EXPECT_EQ(runSpin(), 1);
    EXPECT_EQ(screen->resultsCount(), 0);
    EXPECT_TRUE(screen->parts().counterLabel->text().isEmpty());
    EXPECT_EQ(boxes.texts(), QStringList{AllDrawn});
}

TEST_F(Spin, BlankPoolLinesNeitherStallNorEndTheDraw)
{
    folder.setSetting("kongzhimoshi", "3");
    folder.write("data/db.dat", "\r\n600\r\n\r\n");
    startProgram();
    screen->startButtonClick();
    EXPECT_EQ(runSpin(), 2);
    EXPECT_EQ(screen->resultsCount(), 1);
    screen->parts().celebration->dismiss();
    EXPECT_EQ(boxes.texts(), QStringList{AllDrawn});
}

TEST_F(Spin, StartDuringASpinChangesNothing)
{
    folder.setSetting("kongzhimoshi", "1");
    startProgram();
    screen->startButtonClick();
    screen->session().draw().setSpinTarget(20000);
    for (int i = 0; i < 10; ++i)
        screen->spinTimerTick();
    screen->startButtonClick();
    EXPECT_EQ(screen->session().draw().spinTarget(), 20000);
    EXPECT_EQ(screen->parts().pointerImage->angle(), -2970.0L);
    EXPECT_EQ(runSpin(), 57);
}

TEST_F(Spin, SlotWithoutANameIsStillAnnouncedAndCounted)
{
    folder.setSetting("kongzhimoshi", "3");
    folder.write("data/奖品.txt", gbk(QStringLiteral("一\r\n二\r\n")));
    folder.write("data/db.dat", "20000\r\n");
    startProgram();
    screen->startButtonClick();
    runSpin();
    EXPECT_EQ(lastResult(), Prefix);
    EXPECT_EQ(screen->parts().counterLabel->text(), QStringLiteral("累计送出奖品数量：1个"));
}

TEST_F(Spin, HiddenResultsStillReceiveAndCountAnnouncements)
{
    folder.setSetting("kongzhimoshi", "1");
    folder.setSetting("zhongjiang_xianshi", "0");
    startProgram();
    for (int i = 0; i < 3; ++i) {
        screen->startButtonClick();
        runSpin();
    }
    EXPECT_TRUE(screen->parts().resultsList->isHidden());
    EXPECT_EQ(screen->resultsCount(), 3);
    EXPECT_EQ(screen->parts().counterLabel->text(), QStringLiteral("累计送出奖品数量：3个"));
}

TEST_F(Spin, ModeIsReadAfreshOnEveryTick)
{
    folder.setSetting("kongzhimoshi", "1");
    folder.write("data/db.dat", "20000\r\n");
    startProgram();
    screen->startButtonClick();
    screen->session().draw().setSpinTarget(26999);
    for (int i = 0; i < 5; ++i)
        screen->spinTimerTick();
    // Switched to quota mode mid-spin: the pool's rule stops it now.
    folder.setSetting("kongzhimoshi", "3");
    screen->session().draw().setPoolIndex(0);
    EXPECT_EQ(runSpin(), 62);
    EXPECT_EQ(screen->parts().pointerImage->angle(), -20000.0L);
    EXPECT_EQ(screen->parts().debugLabel->text(), QStringLiteral("101"));
}

TEST_F(Spin, ModeWithoutAStopRuleStartsNothing)
{
    for (const QByteArray& mode : {QByteArray("4"), QByteArray("x"), QByteArray()}) {
        folder.setSetting("kongzhimoshi", mode);
        startProgram();
        boxes.clear();
        screen->startButtonClick();
        EXPECT_FALSE(screen->parts().spinTimer->isActive());
        EXPECT_EQ(screen->parts().pointerImage->angle(), 0.0L);
        EXPECT_EQ(boxes.texts(), QStringList{InvalidMode});
    }
}

TEST_F(Spin, ModeWithoutAStopRuleMidSpinEndsTheSpinWithoutAPrize)
{
    folder.setSetting("kongzhimoshi", "1");
    startProgram();
    screen->startButtonClick();
    screen->spinTimerTick();
    folder.setSetting("kongzhimoshi", "4");
    EXPECT_EQ(runSpin(), 1);
    EXPECT_EQ(screen->resultsCount(), 0);
    EXPECT_EQ(boxes.texts(), QStringList{InvalidMode});
}

TEST_F(Spin, MissingSpinSoundLeavesTheScreenIdle)
{
    folder.setSetting("kongzhimoshi", "1");
    folder.remove("sound/摇奖中.mp3");
    startProgram();
    screen->startButtonClick();
    EXPECT_FALSE(screen->parts().spinTimer->isActive());
    ASSERT_EQ(boxes.errors().size(), 1);
}

TEST_F(Spin, MissingWinSoundStillRecordsThePrizeThenReports)
{
    folder.setSetting("kongzhimoshi", "3");
    folder.write("data/db.dat", "20000\r\n17000\r\n");
    folder.remove("sound/中奖后.mp3");
    startProgram();
    screen->startButtonClick();
    screen->session().draw().setPoolIndex(1);
    runSpin();
    EXPECT_EQ(screen->parts().pointerImage->angle(), -17000.0L);
    EXPECT_EQ(screen->session().draw().pool(), QList<int32_t>{20000});
    EXPECT_EQ(lastResult(), Prefix + QStringLiteral("二等奖：平板电脑"));
    ASSERT_EQ(boxes.errors().size(), 1);
}

TEST_F(Spin, SpaceOnReleaseAndEnterStartASpinFromTheFocusedButton)
{
    folder.setSetting("kongzhimoshi", "1");
    startProgram();
    screen->show();
    screen->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(screen.get()));
    screen->focusTimerTick();
    ASSERT_TRUE(screen->parts().startButton->hasFocus());

    QTest::keyPress(screen->parts().startButton, Qt::Key_Space);
    EXPECT_FALSE(screen->parts().spinTimer->isActive()); // not on the press
    QTest::keyRelease(screen->parts().startButton, Qt::Key_Space);
    EXPECT_TRUE(screen->parts().spinTimer->isActive());
    runSpin();

    QTest::keyClick(screen->parts().startButton, Qt::Key_Return);
    EXPECT_TRUE(screen->parts().spinTimer->isActive());
    runSpin();
    EXPECT_EQ(screen->resultsCount(), 2);
}

TEST_F(Spin, NamesAndTitlesThatLookLikeMarkupAreShownAndCountedAsTyped)
{
    const QString names[] = {QStringLiteral("一等奖：<b>手机</b>"), QStringLiteral("A&lt;B"),
                             QStringLiteral("<p>第一行</p><p>第二行</p>"),
                             QStringLiteral("两个     空格  <br>")};
    folder.setSetting("kongzhimoshi", "3");
    folder.write("data/db.dat", QByteArray("100\r\n").repeated(std::size(names)));
    folder.setSetting("biaoti_text", gbk(names[0]));
    startProgram();
    EXPECT_EQ(screen->parts().titleLabel->text(), names[0]);
    EXPECT_EQ(screen->parts().titleLabel->textFormat(), Qt::PlainText);
    int count = 0;
    for (const QString& name : names) {
        folder.write("data/奖品.txt", gbk(QStringLiteral("特等奖\r\n一等奖\r\n") + name + "\r\n"));
        screen->reloadPrizeNames();
        EXPECT_EQ(screen->prizeName(3), name);
        screen->startButtonClick();
        runSpin(); // 100 degrees: slot 3
        EXPECT_EQ(lastResult(), Prefix + name);
        EXPECT_EQ(screen->resultsCount(), ++count) << name.toStdString();
    }
}
