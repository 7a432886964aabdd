#pragma once

#include "datafiles/atomic_file.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <utility>

// An INI file read and written the way the program's settings always were: section and key
// match without regard to letter case, a value is the text after the first "=" without
// surrounding blanks, at most 2047 bytes of it are seen, and a missing file, section or key
// gives the caller's default. A write replaces the key's line in place, appends a new key to
// its section, creates the section and the file when absent, and leaves every other line as
// it was. The file is opened afresh for every call; nothing is kept between calls.
class ProfileFile
{
public:
    static constexpr int MaxValueLength = 2047;

    explicit ProfileFile(const QString& path) : path_(path) {}

    const QString& path() const { return path_; }

    QByteArray readString(const QByteArray& section, const QByteArray& key,
                          const QByteArray& defaultValue) const;

    // Raises AppError "Unable to write to <path>" when the file cannot be written.
    void writeString(const QByteArray& section, const QByteArray& key,
                     const QByteArray& value) const;

    // Writes each key and value in turn, as writeString would, in one write of the file.
    using Entries = QList<std::pair<QByteArray, QByteArray>>;
    void writeStrings(const QByteArray& section, const Entries& entries,
                      Flush flush = Flush::Now) const;

private:
    QString path_;
};
