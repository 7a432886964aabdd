#include "datafiles/system_files.h"

#include <QDir>
#include <fcntl.h>
#include <io.h>
#include <windows.h>

FILE* openFileForReading(const QString& path)
{
    // CreateFileW takes any name the file system holds, and leaves the cause in
    // GetLastError for causeText; the handle then becomes a C stream.
    const std::wstring name = QDir::toNativeSeparators(path).toStdWString();
    HANDLE handle = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return nullptr;
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDONLY | _O_BINARY);
    if (fd < 0) {
        CloseHandle(handle);
        SetLastError(ERROR_TOO_MANY_OPEN_FILES);
        return nullptr;
    }
    FILE* file = _fdopen(fd, "rb");
    if (!file) {
        _close(fd);
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    }
    return file;
}

int fileNotFoundCode()
{
    return ERROR_FILE_NOT_FOUND;
}

int lastSystemError()
{
    return int(GetLastError());
}

QString causeText(int code)
{
    wchar_t* text = nullptr;
    const DWORD n = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, DWORD(code), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    QString result = n ? QString::fromWCharArray(text, int(n)).trimmed()
                       : QStringLiteral("System error %1").arg(code);
    LocalFree(text);
    return result;
}
