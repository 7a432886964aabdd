// Taking a draw back on the draw screen: the question, the mark, the counter, the prizes left,
// the journal and the saved results.
#include "draw_screen_fixture.h"

#include "drawscreen/black_out_cover.h"
#include "drawscreen/celebration_overlay.h"
#include "journal/journal.h"

#include <QAction>
#include <QLabel>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>

namespace {
const QString Prefix = QStringLiteral("恭喜！你获得了奖品     ");
const QString Fourth = QStringLiteral("四等奖：智能手环"); // entry 20000, slot 5
const QString Second = QStringLiteral("二等奖：平板电脑"); // entry 17000, slot 3
} // namespace

class TakingBack : public DrawScreenTest
{
protected:
    void SetUp() override
    {
        folder.setSetting("kongzhimoshi", "3");
        folder.setSetting("shengyu_xianshi", "1");
        folder.setSetting("zhongjiang_texiao", "1");
        folder.write("data/db.dat", "20000\r\n17000\r\n593\r\n");
        startProgram();
        screen->show();
        screen->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(screen.get()));
    }
    void drawFirstEntry()
    {
        screen->startButtonClick();
        screen->session().draw().setPoolIndex(0);
        runSpin();
    }
    void press(Qt::Key key) { QTest::keyClick(screen->parts().prizeList, key); }
    bool canVoid() const { return screen->parts().voidAction->isEnabled(); }
    QString counter() const { return screen->parts().counterLabel->text(); }
    QStringList lines() const { return screen->parts().resultsList->toPlainText().split('\n'); }
    QList<int32_t> pool() const { return screen->session().draw().pool(); }
    QString prizeLine(int k) const
    {
        return screen->parts().prizeList->document()->findBlockByNumber(k).text();
    }
    QStringList events()
    {
        screen->journal()->waitUntilWritten();
        QStringList out;
        for (const QByteArray& line : folder.read(JournalFileName).split('\n').mid(1))
            if (const auto row = parseRow(line.chopped(line.endsWith('\r') ? 1 : 0)))
                out.append(row->event + ' ' + row->drawn + ' ' + row->note);
        return out;
    }
};

TEST_F(TakingBack, AsksFirstAndOnlyWhenADrawCanBeTakenBack)
{
    // Before any draw, and during a spin: greyed, and Delete asks nothing.
    EXPECT_FALSE(canVoid());
    press(Qt::Key_Delete);
    screen->startButtonClick();
    screen->spinTimerTick();
    EXPECT_FALSE(canVoid());
    press(Qt::Key_Backspace);
    screen->voidResultItemClick();
    EXPECT_TRUE(boxes.boxes().isEmpty());
    runSpin();
    ASSERT_TRUE(canVoid());

    // No: nothing changes, nothing is written. Blacked out, Delete does nothing at all.
    boxes.answerQuestionsWith(false);
    press(Qt::Key_Delete);
    ASSERT_EQ(boxes.boxes().size(), 1);
    EXPECT_EQ(boxes.boxes()[0].kind, MessageBoxRequest::Kind::Question);
    EXPECT_EQ(
        boxes.boxes()[0].text,
        QStringLiteral("作废第1次中奖“%1”？奖品将放回奖池。").arg(lastResult().mid(Prefix.size())));
    press(Qt::Key_B);
    press(Qt::Key_Delete);
    press(Qt::Key_B);
    EXPECT_EQ(boxes.boxes().size(), 1);
    EXPECT_EQ(counter(), QStringLiteral("累计送出奖品数量：1个"));
    EXPECT_EQ(pool().size(), 2);
    EXPECT_FALSE(lastResult().endsWith(QStringLiteral("（作废）")));
    EXPECT_EQ(events().filter(QStringLiteral("作废")), QStringList());
}

TEST_F(TakingBack, YesMarksTheLineReturnsThePrizeAndGoesBackwards)
{
    drawFirstEntry(); // 20000
    drawFirstEntry(); // 17000
    ASSERT_EQ(lines(), (QStringList{Prefix + Fourth, Prefix + Second}));
    ASSERT_EQ(prizeLine(2), Second + QStringLiteral("  剩0"));
    ASSERT_TRUE(screen->parts().celebration->celebrating());

    press(Qt::Key_Delete);
    EXPECT_EQ(boxes.texts().last(),
              QStringLiteral("作废第2次中奖“%1”？奖品将放回奖池。").arg(Second));
    EXPECT_FALSE(screen->parts().celebration->celebrating());
    EXPECT_EQ(lines(),
              (QStringList{Prefix + Fourth, Prefix + Second + QStringLiteral("（作废）")}));
    const QTextBlock marked = screen->parts().resultsList->document()->findBlockByNumber(1);
    EXPECT_NE(marked.begin().fragment().charFormat().foreground().color(), QColor(Qt::white));
    EXPECT_EQ(counter(), QStringLiteral("累计送出奖品数量：1个"));
    EXPECT_EQ(prizeLine(2), Second + QStringLiteral("  剩1"));
    EXPECT_EQ(pool().size(), 2);
    EXPECT_TRUE(pool().contains(17000));

    // The menu item takes back the latest still given: the first line.
    screen->parts().voidAction->trigger();
    EXPECT_EQ(boxes.texts().last(),
              QStringLiteral("作废第1次中奖“%1”？奖品将放回奖池。").arg(Fourth));
    EXPECT_TRUE(lines()[0].endsWith(QStringLiteral("（作废）")));
    EXPECT_EQ(counter(), QStringLiteral("累计送出奖品数量：0个"));
    EXPECT_EQ(pool().size(), 3);
    EXPECT_FALSE(canVoid());
    EXPECT_EQ(events().mid(3), (QStringList{QStringLiteral("作废 17000 第2次中奖"),
                                            QStringLiteral("作废 20000 第1次中奖")}));

    // The prize taken back can come up again; after a kill the marks and the pool come back.
    drawFirstEntry();
    EXPECT_EQ(counter(), QStringLiteral("累计送出奖品数量：1个"));
    const QStringList shown = lines();
    screen->journal()->waitUntilWritten();
    boxes.clear();
    startProgram();
    EXPECT_EQ(boxes.texts(), QStringList{QStringLiteral(
                                 "上次摇奖的3条中奖结果还没有保存，是否恢复并继续上次的摇奖？")});
    EXPECT_EQ(lines(), shown);
    EXPECT_EQ(counter(), QStringLiteral("累计送出奖品数量：1个"));
    EXPECT_EQ(pool().size(), 2);
}

TEST_F(TakingBack, SavedResultsKeepTheMark)
{
    drawFirstEntry();
    drawFirstEntry();
    press(Qt::Key_Delete);
    screen->saveResultsItemClick();
    EXPECT_EQ(
        readWithUnrtf(folder.file(QStringLiteral("中奖信息.rtf"))).lines,
        (QStringList{QStringLiteral("恭喜！你获得了奖品 ") + Fourth,
                     QStringLiteral("恭喜！你获得了奖品 ") + Second + QStringLiteral("（作废）")}));
    const QJsonArray rows = readWorkbookRows(folder.file(QStringLiteral("中奖信息.xlsx")));
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0].toArray().last(), QStringLiteral("状态"));
    EXPECT_EQ(rows[1].toArray()[2], Fourth);
    EXPECT_TRUE(rows[1].toArray()[3].isNull());
    EXPECT_EQ(rows[2].toArray()[2], Second);
    EXPECT_EQ(rows[2].toArray()[3], QStringLiteral("作废"));
}
