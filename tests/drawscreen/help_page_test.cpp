#include "draw_screen_fixture.h"

#include "audio/media_device_error.h"
#include "evening/no_output_notice.h"
#include "datafiles/app_paths.h"
#include "datafiles/integer_conversion.h"
#include "datafiles/picture_reader.h"
#include "datafiles/settings_keys.h"
#include "datafiles/text_file.h"
#include "draw/draw_texts.h"
#include "draw/draw_texts.h"
#include "journal/journal.h"
#include "settings/settings_texts.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QRegularExpression>
#include <QXmlStreamReader>

// The operator's help page is checked against what the program defines, so a new key, file,
// menu item or message cannot be left out of it unnoticed.

namespace {

// Made absolute before any test changes the working folder: under Wine a path from the root
// names the root of the current drive, which a test folder on another drive would change.
const QString PagePath =
    QFileInfo(QString::fromUtf8(PW_ASSETS_DIR "/help/使用帮助.html")).absoluteFilePath();

// The page as a reader sees it: its text, the pictures it shows and what broke its parsing.
struct HelpPage
{
    QString text;
    QStringList pictures;
    QString error;
};

HelpPage readHelpPage()
{
    HelpPage page;
    QFile file(PagePath);
    if (!file.open(QIODevice::ReadOnly)) {
        page.error = file.errorString();
        return page;
    }
    QXmlStreamReader xml(file.readAll());
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isCharacters())
            page.text += xml.text();
        else if (xml.isStartElement() && xml.name() == QLatin1String("img"))
            page.pictures << xml.attributes().value(QLatin1String("src")).toString();
    }
    if (xml.hasError())
        page.error = QStringLiteral("%1 (line %2, column %3)")
                         .arg(xml.errorString())
                         .arg(xml.lineNumber())
                         .arg(xml.columnNumber());
    return page;
}

// The fixed parts of a text around the places a number, name or cause is put in.
QStringList fixedParts(const QString& text, const QStringList& placeholders)
{
    QStringList alternatives;
    for (const QString& placeholder : placeholders)
        alternatives << QRegularExpression::escape(placeholder);
    QStringList parts;
    for (const QString& part : text.split(QRegularExpression(alternatives.join('|'))))
        if (!part.trimmed().isEmpty())
            parts << part.trimmed();
    return parts;
}

// The file names in the first column of the README's table of the files an operator may edit;
// "`pic/1.png` … `pic/8.png`" stands for every number between.
QStringList readmeFileNames()
{
    QFile file(QString::fromUtf8(PW_SOURCE_DIR "/README.md"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n');
    const qsizetype heading =
        lines.indexOf(QStringLiteral("## Files an operator may edit (in the program folder)"));
    if (heading < 0)
        return {};
    static const QRegularExpression name(QStringLiteral("`([^`]+)`"));
    static const QRegularExpression range(
        QStringLiteral("`([^`]*?)(\\d+)(\\.\\w+)` … `\\1(\\d+)\\3`"));
    QStringList names;
    for (qsizetype i = heading + 1; i < lines.size() && !lines[i].startsWith(QStringLiteral("## "));
         ++i) {
        const QStringList cells = lines[i].split('|');
        if (!lines[i].startsWith('|') || cells.size() < 3)
            continue;
        const QString& first = cells[1];
        for (const QRegularExpressionMatch& m : name.globalMatch(first))
            names << m.captured(1);
        for (const QRegularExpressionMatch& m : range.globalMatch(first))
            for (int n = m.captured(2).toInt(); n <= m.captured(4).toInt(); ++n)
                names << m.captured(1) + QString::number(n) + m.captured(3);
    }
    return names;
}

void expectMentioned(const HelpPage& page, const QStringList& texts, const char* what)
{
    ASSERT_FALSE(texts.isEmpty()) << "no " << what << " found to look for";
    for (const QString& text : texts)
        EXPECT_TRUE(page.text.contains(text))
            << "the help page does not mention the " << what << " \"" << text.toStdString() << '"';
}

} // namespace

TEST(HelpPage, IsWellFormedAndShowsOnlyPicturesBesideIt)
{
    const HelpPage page = readHelpPage();
    EXPECT_TRUE(page.error.isEmpty()) << page.error.toStdString();
    EXPECT_FALSE(page.pictures.isEmpty());
    const QString folder = QFileInfo(PagePath).absolutePath();
    for (const QString& picture : page.pictures) {
        EXPECT_FALSE(picture.contains(QStringLiteral("://")) || picture.startsWith('/'))
            << "not a picture of the help folder: " << picture.toStdString();
        EXPECT_TRUE(QFileInfo::exists(folder + '/' + picture)) << picture.toStdString();
    }
}

TEST(HelpPage, NamesEverySettingsKeyAndEveryFileOfTheProgramFolder)
{
    const HelpPage page = readHelpPage();
    QStringList keys;
    for (const QByteArray& key : SettingsKey::all())
        keys << QString::fromLatin1(key);
    expectMentioned(page, keys, "settings key");
    expectMentioned(page, readmeFileNames(), "file");
}

TEST(HelpPage, QuotesEveryMessageTheOperatorCanMeet)
{
    const HelpPage page = readHelpPage();
    const QString path = QStringLiteral("奖品.txt");
    const QString shownPath = displayPath(path);
    const QString cause = QStringLiteral("<cause>");
    const QString number = QStringLiteral("987654");
    const QStringList texts = QStringList{AllDrawnText,
                                          InvalidModeText,
                                          KeepOnePrizeText,
                                          NoSoundOutputText,
                                          CloseQuestion,
                                          SavedText,
                                          SaveFailedPrefix,
                                          SavedRestartText,
                                          UnsavableNamePrefix,
                                          UnsavableTitlePrefix,
                                          PictureUnreadableCause.trimmed(),
                                          NoDeviceOpenText,
                                          NoAudioFramesText}
                              << fixedParts(ContinueQuestion, {"%1"})
                              << fixedParts(VoidQuestion, {"%1", "%2"})
                              << fixedParts(modifiedLineMessage(number.toInt()), {number})
                              << fixedParts(cannotOpenMessage(path, cause), {shownPath, cause})
                              << fixedParts(cannotCreateMessage(path, cause), {shownPath, cause})
                              << fixedParts(cannotWriteMessage(path, cause), {shownPath, cause})
                              << fixedParts(unableToWriteMessage(path), {path})
                              << fixedParts(integerConversionMessage(number.toLatin1()), {number})
                              << fixedParts(PictureTooLargeCause, {"%1", "%2"});
    expectMentioned(page, texts, "message");
}

using HelpPageMenu = DrawScreenTest;

TEST_F(HelpPageMenu, ExplainsEveryContextMenuItem)
{
    startProgram();
    QStringList captions;
    for (const QAction* action : screen->parts().contextMenu->actions())
        if (!action->isSeparator())
            captions << action->text();
    expectMentioned(readHelpPage(), captions, "menu item");
}
