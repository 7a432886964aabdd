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
    // A lead byte takes the next byte with it, but CR and LF always end a line.
    EXPECT_EQ(splitLines("\x81\n\r\nx"), (Lines{"\x81", "", "x"}));
    EXPECT_EQ(splitLines("\xFE\rA"), (Lines{"\xFE", "A"}));
    EXPECT_EQ(splitLines("\xFE\r\nA"), (Lines{"\xFE", "A"}));
    EXPECT_EQ(splitLines("\xB0\x0A"), (Lines{"\xB0"}));
    // Real Chinese names split where the breaks are.
    const QByteArray names = toGbk(QStringLiteral("特等奖\r\n一等奖\r\n"));
    EXPECT_EQ(splitLines(names),
              (Lines{toGbk(QStringLiteral("特等奖")), toGbk(QStringLiteral("一等奖"))}));
}

TEST(TextLines, NormalisingMakesEveryBreakCrLfAndKeepsTheFinalOne)
{
    EXPECT_EQ(normaliseLineBreaks("a\nb\rc\r\nd"), QByteArray("a\r\nb\r\nc\r\nd"));
    EXPECT_EQ(normaliseLineBreaks("a\n"), QByteArray("a\r\n"));
    EXPECT_EQ(normaliseLineBreaks("\x81\nz"),
              QByteArray("\x81\r\nz")); // a lead byte keeps no break
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

// Files from any common editor read as the GBK the program works in; GBK stays as it is.
TEST_F(TextFileIo, Utf8FilesReadAsTheirTextAndGbkFilesUnchanged)
{
    const QString names = QStringLiteral("特等奖\r\n一等奖\r\n");
    const struct
    {
        QByteArray bytes;
        QByteArray loaded;
    } cases[] = {
        {QStringLiteral("特等奖\n一等奖\n").toUtf8(), toGbk(names)}, // UTF-8, LF
        {"\xEF\xBB\xBF" + names.toUtf8(), toGbk(names)},             // with a BOM
        {"\xEF\xBB\xBF"
         "caf\xC3\xA9\n",
         toGbk(QStringLiteral("café\r\n"))},    // BOM, no CJK
        {toGbk(names), toGbk(names)},           // GBK, CR LF
        {"caf\xC3\xA9\r\n", "caf\xC3\xA9\r\n"}, // valid UTF-8 only below U+0800: GBK
        {"abc\n", "abc\r\n"},
    };
    for (const auto& c : cases) {
        const QString file = path(QStringLiteral("奖品.txt"));
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(c.bytes);
        f.close();
        EXPECT_EQ(loadTextFile(file), c.loaded) << c.bytes.toHex().toStdString();
    }
}
