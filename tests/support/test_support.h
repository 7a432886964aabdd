#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QTemporaryDir>
#include <ostream>

// Failures show texts as text rather than as the bytes of each character.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

// A copy of the shipped program folder (data/, pic/, sound/) in a temporary directory.
// While it lives, programFolder() answers its path and the current directory is it, so
// pictures are found as they are when the program is started from its own folder.
class TestProgramFolder
{
public:
    TestProgramFolder();
    ~TestProgramFolder();
    TestProgramFolder(const TestProgramFolder&) = delete;
    TestProgramFolder& operator=(const TestProgramFolder&) = delete;

    QString path() const; // ends with "/"
    QString file(const QString& relative) const { return path() + relative; }

    QByteArray read(const QString& relative) const;
    void write(const QString& relative, const QByteArray& bytes) const;
    void remove(const QString& relative) const;
    // Replaces one key of data/opt.ini, or removes it when value is null.
    void setSetting(const char* key, const QByteArray& value) const;
    QByteArray setting(const char* key) const;

private:
    QTemporaryDir dir_;
    QString previousCwd_;
};

// How a file that is not there is reported, as this platform words it: its separators in the
// path and its cause text (for code, the file-not-found one unless given); the error box's
// full stop added with errorBox.
QString missingFileMessage(const QString& path, bool errorBox = false, int code = 0);

// GBK bytes of UTF-8 text, for writing test files the way the program stores them.
QByteArray gbk(const QString& text);
