#include "draw_screen_fixture.h"

#include "audio/media_player.h"

#include <QJsonDocument>
#include <QProcess>
#include <QStandardPaths>
#include <QTextDocumentFragment>
#include <QTextEdit>

QString DrawScreenTest::lastResult() const
{
    const QStringList lines = screen->parts().resultsList->toPlainText().split('\n');
    return screen->resultsCount() == 0 ? QString() : lines.last();
}

ReadBack readWithUnrtf(const QString& path)
{
    ReadBack result;
    if (QStandardPaths::findExecutable(QStringLiteral("unrtf")).isEmpty()) {
        ADD_FAILURE() << "unrtf is not installed (scripts/install-deps.sh installs it)";
        return result;
    }
    QProcess unrtf;
    unrtf.start(QStringLiteral("unrtf"), {QStringLiteral("--html"), path});
    unrtf.waitForFinished(20000);
    const QString html = QString::fromUtf8(unrtf.readAllStandardOutput());
    const qsizetype body = html.indexOf(QStringLiteral("<body>"));
    const QString content = html.mid(body < 0 ? 0 : body);
    result.red = content.contains(QStringLiteral("color=\"#ff0000\""));
    for (QString line : content.split(QStringLiteral("<br>"))) {
        line = QTextDocumentFragment::fromHtml(line).toPlainText().simplified();
        if (!line.isEmpty())
            result.lines.append(line);
    }
    return result;
}
QJsonArray readWorkbookRows(const QString& path)
{
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral("-c"),
                  QStringLiteral("import json, sys, openpyxl\n"
                                 "ws = openpyxl.load_workbook(sys.argv[1]).worksheets\n"
                                 "assert len(ws) == 1\n"
                                 "print(json.dumps([[c if c is None or isinstance(c, (int, str)) "
                                 "else c.isoformat(timespec='milliseconds') for c in r] "
                                 "for r in ws[0].iter_rows(values_only=True)]))\n"),
                  path});
    if (!python.waitForFinished(60000) || python.exitCode() != 0) {
        ADD_FAILURE() << python.readAllStandardError().toStdString();
        return {};
    }
    return QJsonDocument::fromJson(python.readAllStandardOutput()).array();
}

namespace {

// The draw screens of these tests play as though the machine had a sound output, whether or
// not it has one, so that no case meets the notice of a missing one unless it asks for it.
class SoundOutputPresent : public ::testing::Environment
{
    void SetUp() override { MediaPlayer::setSoundOutputForTesting(true); }
    void TearDown() override { MediaPlayer::setSoundOutputForTesting(std::nullopt); }
};

const auto* const soundOutputPresent = ::testing::AddGlobalTestEnvironment(new SoundOutputPresent);

} // namespace
