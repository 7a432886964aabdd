#include "datafiles/app_error.h"
#include "datafiles/gbk.h"
#include "datafiles/profile_file.h"
#include "datafiles/settings_file.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

class ProfileFileTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString iniPath = dir.path() + QStringLiteral("/opt.ini");
    ProfileFile ini{iniPath};

    void write(const QByteArray& bytes)
    {
        QFile f(iniPath);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    QByteArray contents() const
    {
        QFile f(iniPath);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

TEST_F(ProfileFileTest, LookupIgnoresCaseAndTrimsTheValue)
{
    write("[CanShu]\r\nZhiZhen_Left =  376  \r\nbiaoti_text=a=b\r\nempty=\r\n");
    EXPECT_EQ(ini.readString("canshu", "zhizhen_left", "d"), QByteArray("376"));
    EXPECT_EQ(ini.readString("CANSHU", "BIAOTI_TEXT", "d"), QByteArray("a=b"));
    EXPECT_EQ(ini.readString("canshu", "empty", "d"), QByteArray(""));
}

TEST_F(ProfileFileTest, MissingFileSectionOrKeyGivesTheDefault)
{
    EXPECT_EQ(ini.readString("canshu", "kongzhimoshi", "kongzhimoshi"), QByteArray("kongzhimoshi"));
    write("[other]\r\nkongzhimoshi=3\r\n[canshu]\r\nx=1\r\n");
    EXPECT_EQ(ini.readString("canshu", "kongzhimoshi", "kongzhimoshi"), QByteArray("kongzhimoshi"));
    EXPECT_EQ(ini.readString("other", "kongzhimoshi", "d"), QByteArray("3"));
}

TEST_F(ProfileFileTest, LongFilesReadLikeShortOnes)
{
    // Short files are read whole and long ones mapped; a lookup must not tell them apart,
    // whether its key lies before, after or across the size where one gives way to the other.
    const QByteArray head = "[canshu]\r\nfirst=1\r\n";
    for (int fillerLines : {10, 2895, 2896, 40000}) { // 65534 and 65557 bytes in the middle
        QByteArray filler;
        for (int k = 0; k < fillerLines; ++k)
            filler += "filler" + QByteArray::number(k) + "=some value\r\n";
        write(head + filler + "last = end value \r\n[other]\r\nlast=other\r\n");
        EXPECT_EQ(ini.readString("canshu", "first", "d"), QByteArray("1")) << fillerLines;
        EXPECT_EQ(ini.readString("canshu", "last", "d"), QByteArray("end value")) << fillerLines;
        EXPECT_EQ(ini.readString("other", "last", "d"), QByteArray("other")) << fillerLines;
        EXPECT_EQ(ini.readString("canshu", "absent", "d"), QByteArray("d")) << fillerLines;
    }
}

TEST_F(ProfileFileTest, LongValuesAreCutTo2047Bytes)
{
    write("[canshu]\r\nbiaoti_text=" + QByteArray(3000, 'x') + "\r\n");
    EXPECT_EQ(ini.readString("canshu", "biaoti_text", "d"), QByteArray(2047, 'x'));
}

TEST_F(ProfileFileTest, WriteReplacesInPlaceAndKeepsOtherLines)
{
    write("; layout\r\n[canshu]\r\nzhizhen_left=376\r\nzhizhen_top=88\r\n[x]\r\ny=1\r\n");
    ini.writeString("canshu", "ZHIZHEN_LEFT", "-35");
    EXPECT_EQ(
        contents(),
        QByteArray("; layout\r\n[canshu]\r\nZHIZHEN_LEFT=-35\r\nzhizhen_top=88\r\n[x]\r\ny=1\r\n"));
    EXPECT_EQ(ini.readString("canshu", "zhizhen_left", "d"), QByteArray("-35"));
}

TEST_F(ProfileFileTest, NewKeyIsAppendedToItsSection)
{
    write("[canshu]\r\na=1\r\n\r\n[x]\r\ny=1\r\n");
    ini.writeString("canshu", "b", "2");
    EXPECT_EQ(contents(), QByteArray("[canshu]\r\na=1\r\nb=2\r\n\r\n[x]\r\ny=1\r\n"));

    write("[canshu]\r\na=1"); // no final line break
    ini.writeString("canshu", "b", "2");
    EXPECT_EQ(ini.readString("canshu", "a", "d"), QByteArray("1"));
    EXPECT_EQ(ini.readString("canshu", "b", "d"), QByteArray("2"));
}

TEST_F(ProfileFileTest, MissingFileAndSectionAreCreated)
{
    ini.writeString("canshu", "kongzhimoshi", "3");
    EXPECT_EQ(contents(), QByteArray("[canshu]\r\nkongzhimoshi=3\r\n"));
    write("[x]\r\ny=1");
    ini.writeString("canshu", "a", "1");
    EXPECT_EQ(contents(), QByteArray("[x]\r\ny=1\r\n[canshu]\r\na=1\r\n"));
}

TEST_F(ProfileFileTest, UnwritableFileReportsThePath)
{
    const QString path = dir.path() + QStringLiteral("/missing-data/opt.ini");
    try {
        ProfileFile(path).writeString("canshu", "zhizhen_left", "1");
        FAIL() << "no error";
    } catch (const AppError& error) {
        EXPECT_EQ(error.message(), QStringLiteral("Unable to write to %1").arg(path));
    }
}

TEST_F(ProfileFileTest, SettingsReadTheKeyNameWhenMissing)
{
    SettingsFile settings(iniPath);
    write("[canshu]\r\nzhizhen_top=88\r\n");
    EXPECT_EQ(settings.text("biaoti_text"), QByteArray("biaoti_text"));
    EXPECT_EQ(settings.integer("zhizhen_top"), 88);
    try {
        settings.integer("zhizhen_left");
        FAIL() << "no error";
    } catch (const AppError& error) {
        EXPECT_EQ(error.message(), QStringLiteral("'zhizhen_left' is not a valid integer value"));
    }
    settings.writeInteger("zhizhen_left", -35);
    EXPECT_EQ(settings.integer("zhizhen_left"), -35);
}

// A settings file saved as UTF-8 by an editor reads right, and a write leaves it GBK.
TEST_F(ProfileFileTest, Utf8FilesReadAsTheirTextAndAreWrittenBackAsGbk)
{
    const QString title = QStringLiteral("年会抽奖");
    for (const QByteArray& bom : {QByteArray(), QByteArray("\xEF\xBB\xBF")}) {
        write(bom + "[canshu]\nbiaoti_text=" + title.toUtf8() + "\nzhizhen_left=1\n");
        EXPECT_EQ(ini.readString("canshu", "biaoti_text", "d"), toGbk(title));
        EXPECT_EQ(ini.readString("canshu", "zhizhen_left", "d"), QByteArray("1"));
        ini.writeString("canshu", "zhizhen_left", "2");
        EXPECT_EQ(contents(), "[canshu]\nbiaoti_text=" + toGbk(title) + "\nzhizhen_left=2\n");
    }
}

// Several keys written at once end as the same keys written one by one would.
TEST_F(ProfileFileTest, WritingSeveralKeysAtOnceEqualsWritingThemInTurn)
{
    const ProfileFile::Entries entries = {
        {"zhizhen_left", "-35"}, {"zhizhen_top", "7"}, {"ZHIZHEN_LEFT", "8"}};
    for (const QByteArray& start :
         {QByteArray(), QByteArray("[canshu]\r\nzhizhen_top=1\r\n[other]\r\na=b"),
          QByteArray("[canshu]\r\nzhizhen_left=2")}) {
        write(start);
        for (const auto& [key, value] : entries)
            ini.writeString("canshu", key, value);
        const QByteArray oneByOne = contents();
        write(start);
        ini.writeStrings("canshu", entries, Flush::InBackground);
        EXPECT_EQ(contents(), oneByOne) << start.toStdString();
    }
}
