// What the hall reads whole: the results row shows whole lines only, the newest in view, and a
// prize name too long for the name list is shortened so that its count of prizes left shows.
#include "draw_screen_fixture.h"

#include "draw/prize_pool.h"
#include "drawscreen/lines_in_view.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>
#include <functional>

TEST(NewestLinesInView, ScrollsToTheFirstWholeLineAndEndsWithTheText)
{
    const auto lines = [](int count, qreal height) {
        QList<TextLine> out;
        for (int k = 0; k < count; ++k)
            out.append({k * height, height});
        return out;
    };
    struct Case
    {
        QList<TextLine> lines;
        int available, scrollTop, height;
    };
    const Case cases[] = {
        {{}, 45, 0, 45},                             // nothing yet
        {lines(1, 27.5), 45, 0, 45},                 // all fit: unscrolled, the whole height
        {lines(2, 27.5), 45, 27, 28},                // one line of two
        {lines(5, 27.5), 45, 110, 28},               // the newest of five
        {lines(5, 14.5), 45, 29, 44},                // three of five: 29 … 72.5
        {lines(3, 14.5), 45, 0, 45},                 // three fit in 45 within half a pixel
        {lines(4, 60), 45, 180, 45},                 // a line taller than the space: from its top
        {{{0, 20}, {20, 20}, {40, 30}}, 50, 20, 50}, // lines of other heights
    };
    for (const Case& c : cases) {
        const LinesInView view = newestLinesInView(c.lines, c.available);
        EXPECT_EQ(view.scrollTop, c.scrollTop) << c.lines.size() << " in " << c.available;
        EXPECT_EQ(view.height, c.height) << c.lines.size() << " in " << c.available;
    }
}

namespace {

const QString Prefix = QStringLiteral("恭喜！你获得了奖品     ");
const QString LongName = QStringLiteral("参与奖：新春大红包（每人一个）");

struct ShownLines
{
    int cut = 0;   // lines partly in view
    int whole = 0; // lines wholly in view
    bool newestWhole = false;
};

// The text lines of list as its viewport shows them, to a pixel.
ShownLines shownLines(QTextEdit* list)
{
    const qreal top = list->verticalScrollBar()->value();
    const qreal bottom = top + list->viewport()->height();
    QAbstractTextDocumentLayout* layout = list->document()->documentLayout();
    ShownLines shown;
    for (QTextBlock block = list->document()->begin(); block.isValid(); block = block.next()) {
        const qreal blockTop = layout->blockBoundingRect(block).top();
        for (int i = 0; i < block.layout()->lineCount(); ++i) {
            const QTextLine line = block.layout()->lineAt(i);
            const qreal y0 = blockTop + line.y();
            const qreal y1 = y0 + line.height();
            const bool newest = !block.next().isValid() && i == block.layout()->lineCount() - 1;
            if (y0 >= top - 1 && y1 <= bottom + 1) {
                ++shown.whole;
                shown.newestWhole = shown.newestWhole || newest;
            } else if (y1 > top + 1 && y0 < bottom - 1) {
                ++shown.cut;
            }
        }
    }
    return shown;
}

} // namespace

class WholeLines : public DrawScreenTest
{
protected:
    // A layout made for 1920 x 1050, shown on a client area of the given size.
    void startShown(QSize client)
    {
        folder.setSetting("pingmu_kuan", "1920");
        folder.setSetting("pingmu_gao", "1050");
        startFreshProgram();
        screen->resize(client);
        screen->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(screen.get()));
        QApplication::processEvents();
    }
    void announce(const QString& prize)
    {
        screen->parts().resultsList->append(Prefix + prize);
        QApplication::processEvents();
    }
};

TEST_F(WholeLines, TheResultsRowShowsWholeLinesTheNewestInViewThroughEveryChange)
{
    const QSize sizes[] = {{1920, 1050}, {1200, 525}, {3840, 2100}, {1366, 700}};
    // A name that wraps the announcement onto two lines at every scale.
    const QString wrapping = LongName.repeated(3);
    const std::pair<const char*, std::function<void(DrawScreen&)>> changes[] = {
        {"announced", [](DrawScreen&) {}},
        {"resized", [](DrawScreen& s) { s.resize(s.size() * 3 / 4); }},
        {"F11",
         [](DrawScreen& s) {
             QApplication::setActiveWindow(&s);
             QTest::keyClick(&s, Qt::Key_F11);
         }},
    };
    for (const QSize size : sizes) {
        for (const auto& [change, make] : changes) {
            startShown(size);
            const auto where = [&, change = change] {
                return QStringLiteral("%1x%2 %3 after %4 results")
                    .arg(size.width())
                    .arg(size.height())
                    .arg(QString::fromLatin1(change))
                    .arg(screen->resultsCount())
                    .toStdString();
            };
            for (int k = 1; k <= 7; ++k) {
                announce(k % 3 == 0 ? wrapping : QStringLiteral("奖品%1").arg(k));
                make(*screen);
                QApplication::processEvents();
                const ShownLines shown = shownLines(screen->parts().resultsList);
                EXPECT_EQ(shown.cut, 0) << where();
                EXPECT_GE(shown.whole, 1) << where();
                EXPECT_TRUE(shown.newestWhole) << where();
            }
        }
    }
    EXPECT_TRUE(boxes.boxes().isEmpty());
}

TEST_F(WholeLines, AnAnnouncementAtAStopIsInViewWhole)
{
    startShown({1920, 1050});
    for (int stop = 1; stop <= 3; ++stop) {
        screen->startButtonClick();
        runSpin();
        ASSERT_EQ(screen->resultsCount(), stop);
        const ShownLines shown = shownLines(screen->parts().resultsList);
        EXPECT_EQ(shown.cut, 0) << stop;
        EXPECT_TRUE(shown.newestWhole) << stop;
    }
    // The text keeps its place in the row: the newest line starts the document margin down.
    const QWidget* viewport = screen->parts().resultsList->viewport();
    EXPECT_EQ(viewport->mapTo(screen->parts().resultsList, QPoint()), QPoint(4, 4));
}

namespace {

// Whether line of list shows whole within its viewport's width.
bool fitsAcross(QTextEdit* list, int line)
{
    const QTextBlock block = list->document()->findBlockByNumber(line);
    list->document()->documentLayout()->blockBoundingRect(block);
    const qreal margin = list->document()->documentMargin();
    return block.layout()->lineCount() == 1 &&
           margin + block.layout()->lineAt(0).naturalTextWidth() <= list->viewport()->width();
}

} // namespace

TEST_F(WholeLines, ALongPrizeNameIsShortenedItsCountWholeAndAnnouncedInFull)
{
    struct Case
    {
        QSize client;
        QByteArray showCounts;
    };
    const Case cases[] = {{{1920, 1050}, "1"}, {{1200, 525}, "1"},  {{3840, 2100}, "1"},
                          {{1366, 700}, "1"},  {{1920, 1050}, "0"}, {{1200, 525}, "0"}};
    QStringList names;
    for (int k = 1; k < 8; ++k)
        names.append(QStringLiteral("奖品%1").arg(k));
    names.append(LongName);
    for (const Case& c : cases) {
        folder.write("data/奖品.txt", gbk(names.join(QStringLiteral("\r\n")) + "\r\n"));
        RandomSource random([] { return 7u; });
        folder.write("data/db.dat", poolFileBytes(generatePool({0, 0, 0, 0, 0, 0, 2, 1}, random)));
        folder.setSetting("kongzhimoshi", "3");
        folder.setSetting("shengyu_xianshi", c.showCounts);
        startShown(c.client);
        QTextEdit* list = screen->parts().prizeList;
        const auto where = [&] {
            return QStringLiteral("%1x%2 counts %3")
                .arg(c.client.width())
                .arg(c.client.height())
                .arg(QString::fromLatin1(c.showCounts))
                .toStdString();
        };
        for (int stop = 0; stop <= 3; ++stop) {
            if (stop > 0) {
                screen->startButtonClick();
                runSpin();
            }
            const QString shown = list->document()->findBlockByNumber(7).text();
            if (stop == 0 || stop == 3) { // slot 8 is drawn at one of the three stops
                const QString count = c.showCounts == "1"
                                          ? QStringLiteral("  剩%1").arg(stop == 0 ? 1 : 0)
                                          : QString();
                EXPECT_TRUE(shown.endsWith(QStringLiteral("…") + count)) << where() << stop;
            }
            EXPECT_TRUE(LongName.startsWith(shown.left(shown.indexOf(QStringLiteral("…")))));
            EXPECT_TRUE(fitsAcross(list, 7)) << where() << " stop " << stop;
            EXPECT_EQ(screen->prizeName(8), LongName) << where();
            for (int k = 0; k < 7; ++k)
                EXPECT_TRUE(list->document()->findBlockByNumber(k).text().startsWith(names[k]));
        }
        // The announcements name the prize in full.
        EXPECT_TRUE(screen->parts().resultsList->toPlainText().contains(Prefix + LongName))
            << where();
        screen.reset();
    }
}
