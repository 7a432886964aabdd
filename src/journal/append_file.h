#pragma once

#include <QString>
#include <QtGlobal>

// A file opened for appending only, on the platform's own file services, so that the
// journal's writer holds no system calls of its own. Calls answer 0 or the system's code
// for the failure (see causeText). Others may read the file, and open it for flushing,
// while it is open.
class AppendFile
{
public:
    AppendFile() = default;
    ~AppendFile() { close(); }
    AppendFile(const AppendFile&) = delete;
    AppendFile& operator=(const AppendFile&) = delete;

    // Opens the file, making it when it is not there.
    int open(const QString& path);
    bool isOpen() const { return handle_ != -1; }
    void close();

    // The file's length, or -1 when it cannot be told.
    qint64 size() const;
    // Writes all of data at the end of the file; written tells how much went in before a
    // failure.
    int write(const QByteArray& data, qsizetype& written);
    // Cuts the file back to the given length.
    int cutTo(qint64 length);
    // Returns once what was written to the file, by anyone, is on the disk.
    int flush();

private:
    qintptr handle_ = -1;
};
