#include "datafiles/app_paths.h"
#include "datafiles/system_files.h"
#include "draw/draw_session.h"
#include "draw/prize_draw.h"
#include "journal/journal.h"
#include "journal/journal_reader.h"
#include "journal/journal_row.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

Announcement win(int32_t drawn, const QByteArray& mode = "3")
{
    Announcement a;
    a.mode = mode;
    a.drawn = drawn;
    a.angle = -drawn;
    a.slot = 1 + drawn % 8;
    a.seed = 4000000000u;
    return a;
}

// One run of the program as the journal sees it: a start, then the given events.
// "w<n>": an announcement of entry n; "v<n>": the n-th line taken back; "s": a save; "p": a
// new pool; "c": continues the run before it.
QString writeRun(const QString& path, const QDateTime& start, const QStringList& events,
                 const QString& previousRun = QString())
{
    Journal journal(path, start);
    journal.recordStart("ab12", 3);
    for (const QString& e : events) {
        if (e.startsWith('w'))
            journal.recordWin(win(e.mid(1).toInt()), QStringLiteral("奖品, \"%1\"").arg(e));
        else if (e.startsWith('v'))
            journal.recordVoid(DrawResult{QStringLiteral("奖品"), 1, {}, win(600), true, false},
                               e.mid(1).toInt());
        else if (e == "s")
            journal.recordSave({QStringLiteral("中奖信息.rtf")});
        else if (e == "p")
            journal.recordNewPool("cd34", {1, 0, 0, 0, 0, 0, 0, 0});
        else if (e == "c")
            journal.recordContinue(previousRun);
    }
    journal.waitUntilWritten();
    return journal.run();
}

QStringList drawnOf(const JournalTail& tail)
{
    QStringList out;
    for (const JournalRow& row : tail.wins)
        out.append(row.drawn);
    return out;
}

class JournalFile : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString path = dir.filePath(JournalFileName);
    QDateTime t0 = QDateTime::currentDateTime();
};

} // namespace

TEST(JournalRowFormat, FieldsAreQuotedOnlyWhenTheyMustBeAndReadBack)
{
    const std::pair<QString, QByteArray> cases[] = {
        {QStringLiteral("一等奖"), "一等奖"},
        {QStringLiteral("a,b"), "\"a,b\""},
        {QStringLiteral("say \"hi\""), "\"say \"\"hi\"\"\""},
        {QStringLiteral("two\r\nlines"), "\"two\r\nlines\""},
        {QString(), ""},
    };
    for (const auto& [text, field] : cases) {
        EXPECT_EQ(csvField(text), QByteArray(field)) << text.toStdString();
        EXPECT_EQ(parseCsvRecord(field + ",x"), (QStringList{text, QStringLiteral("x")}));
    }
    EXPECT_FALSE(parseCsvRecord("\"open,x"));
    EXPECT_TRUE(journalTime(QDateTime::currentDateTime())
                    .contains(QRegularExpression(QStringLiteral(
                        "^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3}[+-]\\d\\d:\\d\\d$"))));
}

TEST_F(JournalFile, NewFileHasTheHeaderAndChainedRows)
{
    writeRun(path, t0, {"w20000", "s"});
    const QByteArray bytes = readAll(path);
    ASSERT_TRUE(bytes.startsWith(
        "\xEF\xBB\xBF" +
        QStringLiteral("时间,运行,事件,模式,种子,抽取值,停止角度,扇区,奖品,说明,校验\r\n")
            .toUtf8()));
    const QList<QByteArray> lines = bytes.split('\n');
    ASSERT_EQ(lines.size(), 5); // header, 启动, 中奖, 保存, and nothing after the last CR LF
    // The first row's check covers only its own bytes; the next one's starts from it.
    QByteArray previous;
    for (int i = 1; i < 4; ++i) {
        QByteArray line = lines[i];
        ASSERT_TRUE(line.endsWith('\r'));
        line.chop(1);
        const QByteArray part = line.left(line.lastIndexOf(',') + 1);
        const QByteArray check =
            QCryptographicHash::hash(previous + part, QCryptographicHash::Sha256).toHex();
        EXPECT_EQ(line.mid(part.size()), check) << i;
        previous = check;
    }
    const auto row = parseRow(lines[2].chopped(1));
    ASSERT_TRUE(row);
    EXPECT_EQ(row->event, QStringLiteral("中奖"));
    EXPECT_EQ(row->mode, QStringLiteral("3"));
    EXPECT_EQ(row->seed, QStringLiteral("4000000000"));
    EXPECT_EQ(row->drawn, QStringLiteral("20000"));
    EXPECT_EQ(row->angle, QStringLiteral("-20000"));
    EXPECT_EQ(row->prize, QStringLiteral("奖品, \"w20000\""));
    EXPECT_EQ(firstModifiedLine(path), 0);
}

TEST_F(JournalFile, EditedRemovedAndTornRowsAreTold)
{
    writeRun(path, t0, {"w16600", "w17000", "w18000"});
    const QByteArray whole = readAll(path);
    QList<QByteArray> lines = whole.split('\n');
    struct Case
    {
        const char* what;
        QByteArray bytes;
        int firstBad;
    };
    QByteArray edited = whole;
    edited.replace("w17000", "w17001");
    QList<QByteArray> removed = lines;
    removed.removeAt(3);
    const QByteArray torn = whole.left(whole.size() - 30);
    QList<QByteArray> huge = lines;
    huge[2] = QByteArray(2 << 20, 'x') + '\r';
    const Case cases[] = {
        {"untouched", whole, 0},
        {"prize edited in line 4", edited, 4},
        {"line 4 removed", removed.join('\n'), 4},
        {"last row torn", torn, 0},
        {"torn row in the middle", torn + "\r\n" + lines[2] + '\n', 5},
        {"two megabytes in place of line 3", huge.join('\n'), 3},
    };
    for (const Case& c : cases) {
        writeAll(path, c.bytes);
        EXPECT_EQ(firstModifiedLine(path), c.firstBad) << c.what;
    }

    // After a torn row the next run ends it and starts on a line of its own.
    writeAll(path, torn);
    writeRun(path, t0.addSecs(60), {"w19000"});
    EXPECT_EQ(firstModifiedLine(path), 0);
    EXPECT_EQ(drawnOf(readJournalTail(path)), QStringList{QStringLiteral("19000")});
}

TEST_F(JournalFile, TailFindsTheUnsavedAnnouncementsOfTheLastRunAndThoseItContinues)
{
    struct Run
    {
        QStringList events;
        bool continues;
    };
    struct Case
    {
        const char* what;
        QList<Run> runs;
        QStringList unsaved; // empty: nothing to ask
    };
    const Case cases[] = {
        {"no announcement", {{{}, false}}, {}},
        {"saved after the last", {{{"w1", "w2", "s"}, false}}, {}},
        {"one after the save", {{{"w1", "s", "w2"}, false}}, {"1", "2"}},
        {"last run afresh", {{{"w1"}, false}, {{"w2"}, false}}, {"2"}},
        {"last run without any", {{{"w1"}, false}, {{}, false}}, {}},
        {"chain of two",
         {{{"w1"}, false}, {{"c", "w2"}, true}, {{"c", "w3"}, true}},
         {"1", "2", "3"}},
        {"save in the continuing run", {{{"w1"}, false}, {{"c", "w2", "s"}, true}}, {}},
    };
    for (const Case& c : cases) {
        QFile::remove(path);
        QString previous;
        int minute = 0;
        for (const Run& run : c.runs)
            previous = writeRun(path, t0.addSecs(60 * ++minute), run.events, previous);
        for (const qint64 chunk : {qint64(64 * 1024), qint64(7)}) {
            const JournalTail tail = readJournalTail(path, chunk);
            EXPECT_EQ(tail.unsaved, !c.unsaved.isEmpty()) << c.what << " chunk " << chunk;
            EXPECT_EQ(drawnOf(tail), c.unsaved) << c.what << " chunk " << chunk;
            EXPECT_EQ(tail.lastRun, previous);
            for (const QByteArray& hash : tail.winPoolHashes)
                EXPECT_EQ(hash, QByteArray("ab12"));
        }
    }
}

TEST_F(JournalFile, TakingsBackAndNewPoolsShapeWhatIsBroughtBack)
{
    struct Case
    {
        const char* what;
        QList<QStringList> runs; // each after the first continues the one before
        QStringList unsaved;
        QList<bool> voided;
    };
    const Case cases[] = {
        {"one taken back", {{"w1", "w2", "v2"}}, {"1", "2"}, {false, true}},
        {"taken back after the save", {{"w1", "s", "v1"}}, {"1"}, {true}},
        {"a void names a line of a continued run",
         {{"w1", "w2"}, {"c", "v2", "w3", "v3"}},
         {"1", "2", "3"},
         {false, true, true}},
        {"a note naming no line", {{"w1", "v9"}}, {"1"}, {false}},
        {"new pool after the results", {{"w1", "w2", "p"}}, {}, {}},
        {"new pool in a continued run", {{"w1"}, {"c", "w2", "p"}}, {}, {}},
    };
    for (const Case& c : cases) {
        QFile::remove(path);
        QString previous;
        int minute = 0;
        for (const QStringList& run : c.runs)
            previous = writeRun(path, t0.addSecs(60 * ++minute), run, previous);
        const JournalTail tail = readJournalTail(path, 7);
        EXPECT_EQ(tail.unsaved, !c.unsaved.isEmpty()) << c.what;
        EXPECT_EQ(drawnOf(tail), c.unsaved) << c.what;
        EXPECT_EQ(tail.winVoided, c.voided) << c.what;
        QList<bool> voided;
        for (const EarlierWin& w : earlierWins(tail))
            voided.append(w.result.voided);
        EXPECT_EQ(voided, c.voided) << c.what;
    }
}

TEST_F(JournalFile, AVoidRowReadsBackAndAKillAfterItIsCarriedOn)
{
    writeRun(path, t0, {"w1", "w2", "v2"});
    const QList<QByteArray> lines = readAll(path).split('\n');
    const auto row = parseRow(lines[lines.size() - 2].chopped(1));
    ASSERT_TRUE(row);
    EXPECT_EQ(QStringList({row->event, row->mode, row->drawn, row->angle, row->slot, row->prize,
                           row->note}),
              QStringList({"作废", "3", "600", "-600", "1", "奖品", "第2次中奖"}));
    // Killed mid-write of the next row: the void is whole, the row after it torn.
    writeAll(path, readAll(path) + "2027-01-28T20:15");
    const QString last = writeRun(path, t0.addSecs(60), {"c", "w3"}, readJournalTail(path).lastRun);
    EXPECT_EQ(firstModifiedLine(path), 0);
    const JournalTail tail = readJournalTail(path);
    EXPECT_EQ(tail.lastRun, last);
    EXPECT_EQ(drawnOf(tail), (QStringList{"1", "2", "3"}));
    EXPECT_EQ(tail.winVoided, (QList<bool>{false, true, false}));
}

TEST_F(JournalFile, AFailedWriteIsReportedOnceAndTheRowsFollowLater)
{
    const QString blocked = dir.filePath(QStringLiteral("sub/") + JournalFileName);
    Journal journal(blocked, t0);
    QStringList failures;
    QObject::connect(&journal, &Journal::writeFailed,
                     [&](const QString& message) { failures.append(message); });
    journal.recordStart("ab12", 1);
    journal.recordWin(win(600), QStringLiteral("a"));
    journal.waitUntilWritten();
    QCoreApplication::processEvents();
    ASSERT_EQ(failures.size(), 1);
    // The cause in the system's words, as it gives them for a file in a missing folder.
    ASSERT_EQ(openFileForReading(blocked), nullptr);
    EXPECT_EQ(failures[0], QStringLiteral("Cannot write file \"%1\". %2")
                               .arg(displayPath(blocked), causeText(lastSystemError())));

    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    journal.recordWin(win(601), QStringLiteral("b"));
    journal.waitUntilWritten();
    QCoreApplication::processEvents();
    EXPECT_EQ(failures.size(), 1);
    EXPECT_EQ(drawnOf(readJournalTail(blocked)), (QStringList{"600", "601"}));
    EXPECT_EQ(firstModifiedLine(blocked), 0);
}
