// Continuing after a restart, and the Excel results, through the draw screen's handlers.
#include "draw_screen_fixture.h"

#include "journal/journal.h"
#include "draw/prize_pool.h"
#include "settings/quantity_box.h"
#include "settings/settings_dialog.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QProcess>
#include <QRadioButton>
#include <QTimer>
#include <QTextEdit>

namespace {
const QString Prefix = QStringLiteral("恭喜！你获得了奖品     ");
QString question(int n)
{
    return QStringLiteral("上次摇奖的%1条中奖结果还没有保存，是否恢复并继续上次的摇奖？").arg(n);
}
} // namespace

class Continue : public DrawScreenTest
{
protected:
    PrizeQuantities quantities{3, 1, 0, 2, 0, 0, 1, 1};
    int poolSize = 8;

    void SetUp() override
    {
        RandomSource random([] { return 5u; });
        folder.write("data/db.dat", poolFileBytes(generatePool(quantities, random)));
        folder.setSetting("kongzhimoshi", "3");
    }
    // Ends the run as a crash would leave it: every row on disk, nothing saved.
    void restart(bool answer)
    {
        screen->journal()->waitUntilWritten();
        boxes.clear();
        boxes.answerQuestionsWith(answer);
        startProgram();
    }
    void spins(int n)
    {
        for (int i = 0; i < n; ++i) {
            screen->startButtonClick();
            runSpin();
        }
    }
    std::array<int, 8> wonPerSlot() const
    {
        std::array<int, 8> won{};
        for (const QString& line : screen->parts().resultsList->toPlainText().split('\n'))
            for (int slot = 1; slot <= 8; ++slot)
                won[slot - 1] += line == Prefix + screen->prizeName(slot);
        return won;
    }
    QStringList events()
    {
        screen->journal()->waitUntilWritten();
        QStringList out;
        for (const QByteArray& line : folder.read(JournalFileName).split('\n').mid(1))
            if (const auto row = parseRow(line.chopped(line.endsWith('\r') ? 1 : 0)))
                out.append(row->event);
        return out;
    }
};

TEST_F(Continue, YesAfterEachCrashGivesExactlyTheQuantitiesOverTheWholeDraw)
{
    startProgram();
    spins(3);
    restart(true);
    ASSERT_EQ(boxes.boxes().size(), 1);
    EXPECT_EQ(boxes.boxes()[0].kind, MessageBoxRequest::Kind::Question);
    EXPECT_EQ(boxes.boxes()[0].caption, QStringLiteral("提示"));
    EXPECT_EQ(boxes.boxes()[0].text, question(3));
    EXPECT_EQ(screen->resultsCount(), 3);
    EXPECT_EQ(screen->parts().counterLabel->text(), QStringLiteral("累计送出奖品数量：3个"));
    EXPECT_EQ(screen->session().draw().pool().size(), poolSize - 3);

    spins(2);
    restart(true); // a second crash brings back both runs
    EXPECT_EQ(boxes.texts(), QStringList{question(5)});
    EXPECT_EQ(screen->session().draw().pool().size(), poolSize - 5);
    spins(poolSize - 5);
    EXPECT_EQ(wonPerSlot(), quantities);
    EXPECT_TRUE(screen->session().draw().pool().isEmpty());
    EXPECT_EQ(events().mid(0, 6), (QStringList{QStringLiteral("启动"), QStringLiteral("中奖"),
                                               QStringLiteral("中奖"), QStringLiteral("中奖"),
                                               QStringLiteral("启动"), QStringLiteral("继续")}));
}

TEST_F(Continue, NoStartsAfreshWithTheFullPool)
{
    startProgram();
    spins(3);
    restart(false);
    EXPECT_EQ(boxes.texts(), QStringList{question(3)});
    EXPECT_EQ(screen->resultsCount(), 0);
    EXPECT_TRUE(screen->parts().counterLabel->text().isEmpty());
    EXPECT_EQ(screen->session().draw().pool().size(), poolSize);
    EXPECT_FALSE(events().contains(QStringLiteral("继续")));
}

TEST_F(Continue, NothingIsAskedWhenNothingIsUnsavedOrThePoolChanged)
{
    startProgram();
    restart(true);
    EXPECT_TRUE(boxes.boxes().isEmpty()); // no announcement
    spins(2);
    screen->saveResultsItemClick();
    restart(true);
    EXPECT_TRUE(boxes.boxes().isEmpty()); // all saved
    spins(1);
    // A new pool file: the result comes back, the new pool stays whole.
    folder.write("data/db.dat", "20000\r\n17000\r\n");
    restart(true);
    EXPECT_EQ(boxes.texts(), QStringList{question(1)}); // the saving run did not continue
    EXPECT_EQ(screen->resultsCount(), 1);
    EXPECT_EQ(screen->session().draw().pool().size(), 2);
}

TEST_F(Continue, AnEditedRowIsToldOnceAtStartUp)
{
    startProgram();
    spins(2);
    restart(true);
    screen->journal()->waitUntilWritten();
    QByteArray bytes = folder.read(JournalFileName);
    const QList<QByteArray> lines = bytes.split('\n');
    const QByteArray line3 = lines[2];
    QByteArray forged = line3;
    forged.replace(",3,", ",1,"); // the mode of the first announcement
    ASSERT_NE(forged, line3);
    folder.write(JournalFileName, bytes.replace(line3, forged));
    restart(false);
    screen->journal()->waitUntilWritten();
    QCoreApplication::processEvents();
    EXPECT_EQ(boxes.texts(),
              (QStringList{question(2),
                           QStringLiteral("摇奖记录.csv 第3行被修改过，中奖记录可能不可信。")}));
    // The journal goes on growing after the report.
    spins(1);
    EXPECT_EQ(events().last(), QStringLiteral("中奖"));
}

TEST_F(Continue, ClosingAndSavingAreRecorded)
{
    startProgram();
    spins(1);
    screen->saveResultsItemClick();
    screen->close(); // answered Yes
    EXPECT_EQ(events(), (QStringList{QStringLiteral("启动"), QStringLiteral("中奖"),
                                     QStringLiteral("保存"), QStringLiteral("退出")}));
}

TEST_F(Continue, ANewPoolFromTheSettingsIsRecordedWithItsHashAndQuantities)
{
    startProgram();
    SettingsDialog* dialog = nullptr;
    screen->setSettingsDialogFactory([&] { return dialog = new SettingsDialog(screen.get()); });
    QTimer::singleShot(0, [&] {
        dialog->parts().quotaRadio->click();
        for (int i = 0; i < 8; ++i)
            dialog->parts().quantityEdits[i]->setText(QString::number(i % 3));
        dialog->saveButtonClick();
    });
    screen->settingsItemClick();
    screen->journal()->waitUntilWritten();
    const QList<QByteArray> lines = folder.read(JournalFileName).split('\n');
    ASSERT_GE(lines.size(), 4) << boxes.texts().join(" / ").toStdString();
    const auto pool = parseRow(lines[lines.size() - 3].chopped(1));
    const auto exit = parseRow(lines[lines.size() - 2].chopped(1));
    ASSERT_TRUE(pool && exit);
    EXPECT_EQ(pool->event, QStringLiteral("生成奖池"));
    EXPECT_EQ(pool->note, QStringLiteral("db.dat sha256=%1 quantities=0/1/2/0/1/2/0/1")
                              .arg(QString::fromLatin1(sha256Hex(folder.read("data/db.dat")))));
    EXPECT_EQ(exit->event, QStringLiteral("退出"));
}

TEST_F(Continue, SavedWorkbookReadsBackInAnIndependentReader)
{
    folder.write("data/奖品.txt",
                 gbk(QStringLiteral("一等奖, \"大\"\r\n二\r\n三\r\n四\r\n五\r\n六\r\n"
                                    "七\r\n八\r\n")));
    startProgram();
    spins(2);
    restart(true);
    spins(1);
    screen->saveResultsItemClick();
    ASSERT_EQ(boxes.texts().last(), QStringLiteral("成功保存到软件目录下的中奖信息文件里！"));

    const QJsonArray rows = readWorkbookRows(folder.file(QStringLiteral("中奖信息.xlsx")));

    // The times are those of the journal's announcement rows, to the millisecond.
    screen->journal()->waitUntilWritten();
    QStringList times;
    for (const QByteArray& line : folder.read(JournalFileName).split('\n'))
        if (const auto row = parseRow(line.chopped(line.endsWith('\r') ? 1 : 0)))
            if (row->event == QStringLiteral("中奖"))
                times.append(row->time.left(23));
    const QStringList lines = screen->parts().resultsList->toPlainText().split('\n');
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows[0].toArray(), (QJsonArray{QStringLiteral("序号"), QStringLiteral("时间"),
                                             QStringLiteral("奖品"), QStringLiteral("状态")}));
    for (int i = 1; i <= 3; ++i)
        EXPECT_EQ(rows[i].toArray(),
                  (QJsonArray{i, times[i - 1], lines[i - 1].mid(Prefix.size()), QJsonValue::Null}))
            << i;
}

TEST_F(Continue, ResultsDrawnBeforeANewPoolAreNotBroughtBack)
{
    startProgram();
    spins(6); // the rehearsal
    SettingsDialog* dialog = nullptr;
    screen->setSettingsDialogFactory([&] { return dialog = new SettingsDialog(screen.get()); });
    QTimer::singleShot(0, [&] {
        for (int i = 0; i < 8; ++i)
            dialog->parts().quantityEdits[i]->setText(QStringLiteral("1"));
        dialog->saveButtonClick();
    });
    screen->settingsItemClick();
    restart(true);
    EXPECT_TRUE(boxes.boxes().isEmpty()) << boxes.texts().join(" / ").toStdString();
    EXPECT_EQ(screen->resultsCount(), 0);
    EXPECT_EQ(screen->session().draw().pool().size(), 8);
    // The rehearsal stays in the journal.
    EXPECT_EQ(events().count(QStringLiteral("中奖")), 6);
}
