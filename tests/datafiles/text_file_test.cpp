#include "datafiles/app_error.h"
#include "datafiles/app_paths.h"
#include "datafiles/gbk.h"
#include "datafiles/text_file.h"
#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using Lines = QList<QByteArray>;

TEST(TextLines, EachKindOfBreakEndsALine)
{
    EXPECT_EQ(splitLines("a\r\nb\rc\nd"), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(splitLines("a\n\nb"), (Lines{"a", "", "b"}));
    EXPECT_EQ(splitLines("a\r\rb"), (Lines{"a", "", "b"}));
    EXPECT_EQ(splitLines("a\n\r\nb"), (Lines{"a", "", "b"}));
}

TEST(TextLines, FinalBreakAddsNoEntry)
{
    EXPECT_EQ(splitLines("a\r\nb\r\n"), (Lines{"a", "b"}));
    EXPECT_EQ(splitLines("a\r\nb"), (Lines{"a", "b"}));
    EXPECT_EQ(splitLines(""), Lines{});
    EXPECT_EQ(splitLines("\r\n"), Lines{""});
}

TEST(TextLines, SecondByteOfAGbkCharacterIsNeverABreak)
{
    // A lead byte takes the next byte with it, even where that byte looks like LF or CR.
    EXPECT_EQ(splitLines("\x81\n\r\nx"), (Lines{"\x81\n", "x"}));
    EXPECT_EQ(splitLines("\xFE\rA"), (Lines{"\xFE\rA"}));
    // Real Chinese names split where the breaks are.
    const QByteArray names = toGbk(QStringLiteral("特等奖\r\n一等奖\r\n"));
    EXPECT_EQ(splitLines(names),
              (Lines{toGbk(QStringLiteral("特等奖")), toGbk(QStringLiteral("一等奖"))}));
}

TEST(TextLines, NormalisingMakesEveryBreakCrLfAndKeepsTheFinalOne)
{
    EXPECT_EQ(normaliseLineBreaks("a\nb\rc\r\nd"), QByteArray("a\r\nb\r\nc\r\nd"));
    EXPECT_EQ(normaliseLineBreaks("a\n"), QByteArray("a\r\n"));
    EXPECT_EQ(normaliseLineBreaks("\x81\nz"), QByteArray("\x81\nz"));
    EXPECT_EQ(joinLines({"a", "", "b"}), QByteArray("a\r\n\r\nb\r\n"));
}

class TextFileIo : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString path(const QString& name) const { return dir.path() + '/' + name; }
};

TEST_F(TextFileIo, LoadGivesCrLfTextAndSaveWritesBytesUnchanged)
{
    const QString file = path(QStringLiteral("奖品.txt"));
    const QByteArray bytes = toGbk(QStringLiteral("特等奖\n二等奖\r"));
    saveTextFile(file, bytes);
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), bytes);
    EXPECT_EQ(loadTextFile(file), toGbk(QStringLiteral("特等奖\r\n二等奖\r\n")));
}

TEST_F(TextFileIo, MissingFileIsReportedWithPathAndCause)
{
    const QString file = path(QStringLiteral("db.dat"));
    try {
        loadTextFile(file);
        FAIL() << "no error";
    } catch (const AppError& error) {
        EXPECT_EQ(error.message(), missingFileMessage(file));
    }
}

TEST_F(TextFileIo, UncreatableFileIsReportedWithPathAndCause)
{
    const QString file = path(QStringLiteral("missing-folder/db.dat"));
    try {
        saveTextFile(file, "1\r\n");
        FAIL() << "no error";
    } catch (const AppError& error) {
        EXPECT_TRUE(error.message().startsWith(
            QStringLiteral("Cannot create file \"%1\". ").arg(displayPath(file))))
            << error.message().toStdString();
    }
}

TEST_F(TextFileIo, SaveReplacesWholeFileAndLeavesNoTemporaryBehind)
{
    const QString file = path(QStringLiteral("db.dat"));
    saveTextFile(file, QByteArray(5000, '7'));
    saveTextFile(file, "1\r\n");
    EXPECT_EQ(loadTextFile(file), QByteArray("1\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("db.dat")});
}
