// Taking a draw back on the draw screen: the question, the mark, the counter, the prizes left,
// the journal and the saved results.
#include "draw_screen_fixture.h"

#include "drawscreen/celebration_overlay.h"
#include "journal/journal.h"

#include <QAction>
#include <QLabel>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>

namespace {
const QString Fourth = QStringLiteral("四等奖：智能手环"); // entry 20000
const QString Second = QStringLiteral("二等奖：平板电脑"); // entry 17000, prize-name line 3
QString question(int n, const QString& prize)
{
    return QStringLiteral("作废第%1次中奖“%2”？奖品将放回奖池。").arg(n).arg(prize);
}
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
        widenPrizeList();
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
    qsizetype poolSize() const { return screen->session().draw().pool().size(); }
};

TEST_F(TakingBack, AsksFirstOnlyWhenADrawCanBeTakenBackAndNoChangesNothing)
{
    // Before any draw and during a spin: greyed, and the keys ask nothing.
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

    boxes.answerQuestionsWith(false);
    press(Qt::Key_Delete);
    press(Qt::Key_B); // blacked out, Delete does nothing
    press(Qt::Key_Delete);
    press(Qt::Key_B);
    ASSERT_EQ(boxes.boxes().size(), 1);
    EXPECT_EQ(boxes.boxes()[0].kind, MessageBoxRequest::Kind::Question);
    EXPECT_EQ(boxes.boxes()[0].text, question(1, screen->session().results()[0].prize));
    EXPECT_EQ(counter(), QStringLiteral("累计送出奖品数量：1个"));
    EXPECT_EQ(poolSize(), 2);
    EXPECT_FALSE(lastResult().endsWith(QStringLiteral("（作废）")));
    screen->journal()->waitUntilWritten();
    EXPECT_FALSE(folder.read(JournalFileName).contains("作废"));
}

TEST_F(TakingBack, YesMarksTheLineReturnsThePrizeAndGoesBackwards)
{
    drawFirstEntry();
    drawFirstEntry();
    ASSERT_TRUE(screen->parts().celebration->celebrating());
    const auto prizesLeft = [this] {
        return screen->parts().prizeList->document()->findBlockByNumber(2).text();
    };
    ASSERT_EQ(prizesLeft(), Second + QStringLiteral("  剩0"));

    press(Qt::Key_Delete);
    EXPECT_EQ(boxes.texts().last(), question(2, Second));
    EXPECT_FALSE(screen->parts().celebration->celebrating());
    EXPECT_TRUE(lines()[1].endsWith(Second + QStringLiteral("（作废）")));
    const QTextBlock marked = screen->parts().resultsList->document()->findBlockByNumber(1);
    EXPECT_NE(marked.begin().fragment().charFormat().foreground().color(), QColor(Qt::white));
    EXPECT_EQ(counter(), QStringLiteral("累计送出奖品数量：1个"));
    EXPECT_EQ(prizesLeft(), Second + QStringLiteral("  剩1"));
    EXPECT_TRUE(screen->session().draw().pool().contains(17000));

    screen->parts().voidAction->trigger(); // the latest still given: the first line
    EXPECT_EQ(boxes.texts().last(), question(1, Fourth));
    EXPECT_TRUE(lines()[0].endsWith(QStringLiteral("（作废）")));
    EXPECT_EQ(counter(), QStringLiteral("累计送出奖品数量：0个"));
    EXPECT_EQ(poolSize(), 3);
    EXPECT_FALSE(canVoid());
    screen->journal()->waitUntilWritten();
    QStringList voids;
    for (const QByteArray& line : folder.read(JournalFileName).split('\n'))
        if (const auto row = parseRow(line.chopped(line.endsWith('\r') ? 1 : 0)))
            if (row->event == QStringLiteral("作废"))
                voids << row->drawn + ' ' + row->prize + ' ' + row->note;
    EXPECT_EQ(voids,
              (QStringList{"17000 " + Second + " 第2次中奖", "20000 " + Fourth + " 第1次中奖"}));

    // After a kill the marks come back, and so does the pool less the one draw given.
    drawFirstEntry();
    const QStringList shown = lines();
    screen->journal()->waitUntilWritten();
    startProgram();
    EXPECT_EQ(lines(), shown);
    EXPECT_EQ(counter(), QStringLiteral("累计送出奖品数量：1个"));
    EXPECT_EQ(poolSize(), 2);
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
    EXPECT_EQ(rows[0].toArray()[3], QStringLiteral("状态"));
    EXPECT_EQ(rows[1].toArray()[3], QJsonValue());
    EXPECT_EQ(rows[2].toArray()[2], Second);
    EXPECT_EQ(rows[2].toArray()[3], QStringLiteral("作废"));
}
