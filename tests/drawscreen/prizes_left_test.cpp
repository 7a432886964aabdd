// The prizes left beside the prize names in quota mode.
#include "draw_screen_fixture.h"

#include "journal/journal.h"
#include "draw/prize_pool.h"

#include <QAccessible>
#include <QSet>
#include <QTextBlock>
#include <QTextEdit>
#include <numeric>

namespace {
const QString Prefix = QStringLiteral("恭喜！你获得了奖品     ");
} // namespace

class PrizesLeft : public DrawScreenTest
{
protected:
    void startProgram()
    {
        DrawScreenTest::startProgram();
        widenPrizeList();
    }
    PrizeQuantities quantities{3, 1, 0, 2, 0, 0, 1, 1};

    void SetUp() override
    {
        RandomSource random([] { return 7u; });
        folder.write("data/db.dat", poolFileBytes(generatePool(quantities, random)));
        folder.setSetting("kongzhimoshi", "3");
        folder.setSetting("shengyu_xianshi", "1");
    }
    QStringList names() const
    {
        QStringList out;
        for (int slot = 1; slot <= 8; ++slot)
            out.append(screen->prizeName(slot));
        return out;
    }
    // What the list should read with left[k] beside name k.
    static QString listed(const QStringList& names, const std::array<int, 8>& left)
    {
        QStringList lines;
        for (int k = 0; k < 8; ++k)
            lines.append(names[k] + QStringLiteral("  剩%1").arg(left[k]));
        return lines.join('\n');
    }
    // Whether the name of line k is greyed and struck through, all of it.
    bool struckThrough(int k) const
    {
        const QTextBlock block = screen->parts().prizeList->document()->findBlockByNumber(k);
        const QTextCharFormat format = block.begin().fragment().charFormat();
        return format.fontStrikeOut() && format.foreground().color() != Qt::white &&
               format.hasProperty(QTextFormat::ForegroundBrush);
    }
    void spins(int n)
    {
        for (int i = 0; i < n; ++i) {
            screen->startButtonClick();
            runSpin();
        }
    }
};

TEST_F(PrizesLeft, CountDownAtEveryStopToTheEndOfTheDraw)
{
    startProgram();
    const QStringList plain = names();
    ASSERT_EQ(plain.size(), 8);
    ASSERT_EQ(plain[0], QStringLiteral("特等奖：笔记本电脑"));
    std::array<int, 8> left = quantities;
    EXPECT_EQ(screen->parts().prizeList->toPlainText(), listed(plain, left));
    const int total = std::accumulate(quantities.begin(), quantities.end(), 0);
    // Only the line whose count goes down is edited: each edit lays the list out again and
    // repaints it.
    QTextDocument* list = screen->parts().prizeList->document();
    QSet<int> editedLines;
    QObject::connect(list, &QTextDocument::contentsChange, list, [&](int position, int, int) {
        editedLines.insert(list->findBlock(position).blockNumber());
    });
    for (int stop = 1; stop <= total; ++stop) {
        editedLines.clear();
        spins(1);
        ASSERT_EQ(screen->resultsCount(), stop);
        // The announcement names the prize alone; its slot has one fewer left.
        const QString won = screen->parts().resultsList->toPlainText().split('\n').last();
        const qsizetype slot = plain.indexOf(won.mid(Prefix.size()));
        ASSERT_TRUE(won.startsWith(Prefix) && slot >= 0) << won.toStdString();
        --left[slot];
        EXPECT_EQ(editedLines, QSet<int>{static_cast<int>(slot)}) << stop;
        EXPECT_EQ(screen->parts().prizeList->toPlainText(), listed(plain, left)) << stop;
        EXPECT_EQ(names(), plain);
        for (int k = 0; k < 8; ++k)
            EXPECT_EQ(struckThrough(k), left[k] == 0) << "stop " << stop << " line " << k;
    }
    EXPECT_EQ(left, (std::array<int, 8>{}));
    EXPECT_TRUE(screen->session().draw().pool().isEmpty());
    // The journal and the results hold the names alone.
    screen->journal()->waitUntilWritten();
    EXPECT_FALSE(QString::fromUtf8(folder.read(JournalFileName)).contains(QStringLiteral("剩")));
    EXPECT_FALSE(screen->parts().resultsList->toPlainText().contains(QStringLiteral("剩")));
}

TEST_F(PrizesLeft, AScreenReaderReadsEachCountWithItsPrize)
{
    startProgram();
    QAccessibleTextInterface* text =
        QAccessible::queryAccessibleInterface(screen->parts().prizeList)->textInterface();
    ASSERT_NE(text, nullptr);
    const QStringList lines = text->text(0, text->characterCount()).split('\n');
    ASSERT_GE(lines.size(), 8);
    EXPECT_EQ(lines[0], QStringLiteral("特等奖：笔记本电脑  剩3"));
    EXPECT_EQ(lines[2], QStringLiteral("二等奖：平板电脑  剩0"));
}

TEST_F(PrizesLeft, AContinuedRunShowsWhatItsPoolStillHolds)
{
    startProgram();
    spins(4);
    const std::array<int, 8> before = [&] {
        std::array<int, 8> left = quantities;
        for (const QString& line : screen->parts().resultsList->toPlainText().split('\n'))
            --left[names().indexOf(line.mid(Prefix.size()))];
        return left;
    }();
    const QString shown = screen->parts().prizeList->toPlainText();
    screen->journal()->waitUntilWritten();
    boxes.answerQuestionsWith(true);
    startProgram();
    ASSERT_EQ(screen->resultsCount(), 4);
    EXPECT_EQ(screen->parts().prizeList->toPlainText(), listed(names(), before));
    EXPECT_EQ(screen->parts().prizeList->toPlainText(), shown);
    // A draw made afresh shows the whole pool again.
    screen->journal()->waitUntilWritten();
    boxes.answerQuestionsWith(false);
    startProgram();
    EXPECT_EQ(screen->parts().prizeList->toPlainText(), listed(names(), quantities));
}

TEST_F(PrizesLeft, ShownOnlyInQuotaModeWithTheKeyOn)
{
    const QString plainNames =
        QStringLiteral("特等奖：笔记本电脑\n一等奖：智能手机\n二等奖：平板电脑\n三等奖：蓝牙耳机\n"
                       "四等奖：智能手环\n五等奖：保温杯\n幸运奖：精美台历\n参与奖：新春红包");
    const std::pair<QByteArray, QByteArray> cases[] = {
        {"1", "1"}, {"2", "1"},          {"kongzhimoshi", "1"},
        {"3", "0"}, {"3", QByteArray()}, {"3", "yes"},
    };
    for (const auto& [mode, key] : cases) {
        folder.setSetting("kongzhimoshi", mode);
        folder.setSetting("shengyu_xianshi", key);
        startFreshProgram();
        EXPECT_EQ(screen->parts().prizeList->toPlainText(), plainNames)
            << mode.constData() << "/" << key.constData();
        screen->startButtonClick();
        runSpin(200);
        EXPECT_FALSE(screen->parts().prizeList->toPlainText().contains(QStringLiteral("剩")))
            << mode.constData() << "/" << key.constData();
    }
}

TEST_F(PrizesLeft, DraggingTheListKeepsTheCountsAndFewerNamesGetCountsOnlyOnTheirLines)
{
    folder.write("data/奖品.txt", gbk(QStringLiteral("甲\r\n乙\r\n")));
    startProgram();
    EXPECT_EQ(screen->parts().prizeList->toPlainText(), QStringLiteral("甲  剩3\n乙  剩1"));
    EXPECT_EQ(screen->prizeName(1), QStringLiteral("甲"));
    EXPECT_EQ(screen->prizeName(3), QString());
    // Releasing a dragged element reloads the names: the counts come back with them.
    screen->reloadPrizeNames();
    EXPECT_EQ(screen->parts().prizeList->toPlainText(), QStringLiteral("甲  剩3\n乙  剩1"));
}
