#include "datafiles/system_files.h"

#include <QFile>
#include <cerrno>
#include <cstring>

FILE* openFileForReading(const QString& path)
{
    return std::fopen(QFile::encodeName(path).constData(), "rb");
}

int fileNotFoundCode()
{
    return ENOENT;
}

int lastSystemError()
{
    return errno;
}

QString causeText(int code)
{
    // strerror_r: pictures are also opened off the main thread.
    char buffer[256];
    return QString::fromLocal8Bit(strerror_r(code, buffer, sizeof buffer));
}
