#include "test_support.h"

#include "datafiles/app_paths.h"
#include "datafiles/gbk.h"
#include "datafiles/profile_file.h"
#include "datafiles/text_file.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <gtest/gtest.h>

TestProgramFolder::TestProgramFolder() : previousCwd_(QDir::currentPath())
{
    const QString assets = QStringLiteral(PW_ASSETS_DIR);
    QDirIterator it(assets, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = dir_.path() + source.mid(assets.size());
        QDir().mkpath(QFileInfo(target).path());
        QFile::copy(source, target);
        QFile(target).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                     QFile::ReadOther);
    }
    setProgramFolderForTesting(dir_.path());
    QDir::setCurrent(dir_.path());
    // The tests' windows are far smaller than the screen the shipped layout was made for; they
    // place in client pixels, as every settings file without a layout size does. The tests of
    // the fitting give the keys themselves.
    setSetting("pingmu_kuan", QByteArray());
    setSetting("pingmu_gao", QByteArray());
}

TestProgramFolder::~TestProgramFolder()
{
    QDir::setCurrent(previousCwd_);
    setProgramFolderForTesting(QString());
}

QString TestProgramFolder::path() const
{
    return dir_.path() + '/';
}

QByteArray TestProgramFolder::read(const QString& relative) const
{
    QFile f(file(relative));
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

void TestProgramFolder::write(const QString& relative, const QByteArray& bytes) const
{
    QFile f(file(relative));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << relative.toStdString();
    f.write(bytes);
}

void TestProgramFolder::remove(const QString& relative) const
{
    QFile::remove(file(relative));
}

void TestProgramFolder::setSetting(const char* key, const QByteArray& value) const
{
    const QString ini = file(QStringLiteral("data/opt.ini"));
    if (!value.isNull()) {
        ProfileFile(ini).writeString("canshu", key, value);
        return;
    }
    QByteArray text = read(QStringLiteral("data/opt.ini"));
    QList<QByteArray> kept;
    for (const QByteArray& line : text.split('\n'))
        if (!line.trimmed().toLower().startsWith(QByteArray(key).toLower() + '='))
            kept.append(line);
    write(QStringLiteral("data/opt.ini"), kept.join('\n'));
}

QByteArray TestProgramFolder::setting(const char* key) const
{
    return ProfileFile(file(QStringLiteral("data/opt.ini"))).readString("canshu", key, key);
}

QByteArray gbk(const QString& text)
{
    return toGbk(text);
}

QString missingFileMessage(const QString& path, bool errorBox, int code)
{
    QString text = cannotOpenMessage(path, causeText(code ? code : fileNotFoundCode()));
    if (errorBox && !text.isEmpty() && text.back() > QLatin1Char('.'))
        text += QLatin1Char('.');
    return text;
}
