#include "journal/append_file.h"

#include <QDir>
#include <windows.h>

namespace {

HANDLE handleOf(qintptr h)
{
    return reinterpret_cast<HANDLE>(h);
}

} // namespace

int AppendFile::open(const QString& path)
{
    close();
    // Shared for reading and writing: the program reads the journal back, and WPS or Excel
    // may have it open to look at.
    const HANDLE h =
        CreateFileW(QDir::toNativeSeparators(path).toStdWString().c_str(), GENERIC_WRITE,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return int(GetLastError());
    handle_ = reinterpret_cast<qintptr>(h);
    return 0;
}

void AppendFile::close()
{
    if (isOpen())
        CloseHandle(handleOf(handle_));
    handle_ = -1;
}

qint64 AppendFile::size() const
{
    LARGE_INTEGER size;
    return GetFileSizeEx(handleOf(handle_), &size) ? size.QuadPart : -1;
}

int AppendFile::write(const QByteArray& data, qsizetype& written)
{
    written = 0;
    // Only this program writes the journal, so the end found here is where the data goes.
    LARGE_INTEGER zero{};
    if (!SetFilePointerEx(handleOf(handle_), zero, nullptr, FILE_END))
        return int(GetLastError());
    while (written < data.size()) {
        DWORD n = 0;
        const DWORD chunk = DWORD(qMin<qsizetype>(data.size() - written, 1 << 30));
        if (!WriteFile(handleOf(handle_), data.constData() + written, chunk, &n, nullptr))
            return int(GetLastError());
        if (n == 0)
            return ERROR_DISK_FULL;
        written += n;
    }
    return 0;
}

int AppendFile::cutTo(qint64 length)
{
    LARGE_INTEGER at;
    at.QuadPart = length;
    if (!SetFilePointerEx(handleOf(handle_), at, nullptr, FILE_BEGIN) ||
        !SetEndOfFile(handleOf(handle_)))
        return int(GetLastError());
    return 0;
}

int AppendFile::flush()
{
    return FlushFileBuffers(handleOf(handle_)) ? 0 : int(GetLastError());
}
