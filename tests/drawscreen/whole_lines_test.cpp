// What the hall reads whole: the results row shows whole lines only, the newest in view, and a
// prize name too long for the name list is shortened so that its count of prizes left shows.
#include "draw_screen_fixture.h"

#include "draw/prize_pool.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>

namespace {

const QString LongName = QStringLiteral("参与奖：新春大红包（每人一个）");

// Whether the results row shows only whole lines, the newest among them, to a pixel.
bool newestWholeAndNoneCut(QTextEdit* list)
{
    const qreal top = list->verticalScrollBar()->value();
    const qreal bottom = top + list->viewport()->height();
    bool newestWhole = false;
    for (QTextBlock b = list->document()->begin(); b.isValid(); b = b.next()) {
        const qreal blockTop = list->document()->documentLayout()->blockBoundingRect(b).top();
        for (int i = 0; i < b.layout()->lineCount(); ++i) {
            const qreal y0 = blockTop + b.layout()->lineAt(i).y();
            const qreal y1 = y0 + b.layout()->lineAt(i).height();
            const bool whole = y0 >= top - 1 && y1 <= bottom + 1;
            if (!whole && y1 > top + 1 && y0 < bottom - 1)
                return false;
            newestWhole = whole && !b.next().isValid() && i == b.layout()->lineCount() - 1;
        }
    }
    return newestWhole;
}

} // namespace

using WholeLines = DrawScreenTest;

TEST_F(WholeLines, NewestResultsAndCountsOfLongNamesShowWholeAtEverySizeAndChange)
{
    const QStringList names = {"甲", "乙", "丙", "丁", "戊", "己", "庚", LongName};
    folder.write("data/奖品.txt", gbk(names.join(QStringLiteral("\r\n"))));
    folder.setSetting("kongzhimoshi", "3");
    folder.setSetting("pingmu_kuan", "1920"); // a layout made for 1920 x 1050
    folder.setSetting("pingmu_gao", "1050");
    for (const QSize size : {QSize(1920, 1050), QSize(1200, 525), QSize(3840, 2100)}) {
        for (const QByteArray counts : {"1", "0"}) {
            RandomSource random;
            folder.write("data/db.dat",
                         poolFileBytes(generatePool({0, 0, 0, 0, 0, 0, 2, 1}, random)));
            folder.setSetting("shengyu_xianshi", counts);
            startFreshProgram();
            screen->resize(size);
            screen->show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(screen.get()));
            QApplication::setActiveWindow(screen.get());
            for (int stop = 0; stop < 3; ++stop) {
                const QTextBlock line = screen->parts().prizeList->document()->lastBlock();
                const QRegularExpression end(counts == "1" ? QStringLiteral("…  剩\\d$")
                                                           : QStringLiteral("…$"));
                EXPECT_TRUE(line.text().contains(end)) << line.text().toStdString();
                // The count ends within the list's width; the name is read back whole.
                EXPECT_LE(line.document()->documentMargin() +
                              line.layout()->lineAt(0).naturalTextWidth(),
                          screen->parts().prizeList->viewport()->width());
                EXPECT_EQ(screen->prizeName(8), LongName);
                screen->startButtonClick();
                runSpin();
                screen->parts().resultsList->append(LongName.repeated(stop + 2)); // wraps
                if (stop == 1)
                    screen->resize(screen->size() * 4 / 5);
                if (stop == 2)
                    QTest::keyClick(screen.get(), Qt::Key_F11);
                QApplication::processEvents();
                EXPECT_TRUE(newestWholeAndNoneCut(screen->parts().resultsList)) << size.width();
            }
            EXPECT_TRUE(screen->parts().resultsList->toPlainText().contains("     " + LongName));
        }
    }
}
