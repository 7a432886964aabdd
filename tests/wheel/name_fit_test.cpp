#include "wheel/name_fit.h"
#include "wheel/wheel_geometry.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

namespace {

struct NameCase
{
    const char* what;
    QString name;
    bool shown;     // anything drawn at all
    bool shortened; // ends with "…"
};

QString repeated(const QString& piece, int times)
{
    QString text;
    for (int i = 0; i < times; ++i)
        text += piece;
    return text;
}

const NameCase NameCases[] = {
    {"short", QStringLiteral("一等奖"), true, false},
    {"shipped", QStringLiteral("特等奖：笔记本电脑"), true, false},
    {"long", repeated(QStringLiteral("新春大红包"), 12), true, true},
    {"mixed", QStringLiteral("二等奖：iPad Air 平板电脑"), true, false},
    {"one long Latin word", QStringLiteral("Supercalifragilisticexpialidocious"), true, false},
    {"digits", QStringLiteral("1000元购物卡 ×2"), true, false},
    {"empty", QString(), false, false},
    {"blank", QStringLiteral("  \t "), false, false},
    {"emoji", QStringLiteral("🎁🧧 红包 🎉"), true, false},
    {"combining marks", QStringLiteral("Z̷̢̛̛a̶̡̛l̸̨̛g̵̡̛o̴̢̢ 奖"), true, false},
    {"right to left", QStringLiteral("جائزة كبرى 大奖"), true, false},
    {"control characters", QStringLiteral("奖\x01品\x1b[31m\r\n名"), true, false},
    {"1000 characters", repeated(QStringLiteral("奖品名称abc "), 100), true, true},
};

} // namespace

// Every name, over every sector of the wheel at two sizes: its ink inside the sector's room,
// clear of the hub and of the needle, in at most three lines, and never for long.
TEST(NameFitting, EveryNameStaysInsideItsSector)
{
    QFont font(QStringLiteral("黑体"));
    font.setBold(true);
    for (const QSize size : {QSize(545, 529), QSize(1090, 1058)}) {
        const WheelGeometry g(size);
        for (const NameCase& c : NameCases) {
            for (int slot = 1; slot <= 8; ++slot) {
                const NameBox box = g.nameBox(slot);
                const bool flipped = WheelGeometry::nameFlipped(slot);
                QElapsedTimer timer;
                timer.start();
                const FittedName fitted = fitName(c.name, box, font, flipped);
                // Generous: a hang, not a slow machine, is what this catches.
                EXPECT_LT(timer.elapsed(), 5000) << c.what;
                const QString where = QStringLiteral("%1, slot %2 at %3 px")
                                          .arg(QLatin1String(c.what))
                                          .arg(slot)
                                          .arg(size.width());
                EXPECT_EQ(!fitted.glyphs.isEmpty(), c.shown) << qPrintable(where);
                EXPECT_EQ(fitted.shortened, c.shortened) << qPrintable(where);
                EXPECT_LE(fitted.lines.size(), 3) << qPrintable(where);
                if (c.shortened) {
                    EXPECT_TRUE(fitted.lines.last().endsWith(QStringLiteral("…")))
                        << qPrintable(where);
                }
                for (const QGlyphRun& run : fitted.glyphs)
                    EXPECT_TRUE(box.contains(run.boundingRect(), flipped)) << qPrintable(where);
                EXPECT_GE(box.inner, g.hub()) << qPrintable(where);
            }
        }
    }
}

TEST(NameFitting, WrapsWhereAReaderWould)
{
    QFont font(QStringLiteral("黑体"));
    font.setBold(true);
    const WheelGeometry g(QSize(545, 529));
    // After the colon rather than inside the prize; at spaces rather than inside a word.
    EXPECT_EQ(fitName(QStringLiteral("三等奖：蓝牙耳机"), g.nameBox(4), font, true).lines,
              (QStringList{QStringLiteral("三等奖："), QStringLiteral("蓝牙耳机")}));
    const FittedName latin =
        fitName(QStringLiteral("Bluetooth headphones Pro"), g.nameBox(1), font, false);
    for (const QString& line : latin.lines)
        for (const QString& word : line.split(QLatin1Char(' ')))
            EXPECT_TRUE(QStringLiteral("Bluetooth headphones Pro").split(' ').contains(word))
                << qPrintable(line);
    // A shorter name is set larger, up to what one line of the ring allows.
    const int one = fitName(QStringLiteral("奖"), g.nameBox(1), font, false).pixelSize;
    const int nine =
        fitName(QStringLiteral("特等奖：笔记本电脑"), g.nameBox(1), font, false).pixelSize;
    EXPECT_GT(one, nine);
}
