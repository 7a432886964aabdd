#include "datafiles/background_flush.h"

#include <QDir>
#include <windows.h>

int flushFile(const QString& path)
{
    // Flushing needs a handle that may write; sharing lets others keep the file open.
    const HANDLE h =
        CreateFileW(QDir::toNativeSeparators(path).toStdWString().c_str(), GENERIC_WRITE,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return int(GetLastError());
    const DWORD err = FlushFileBuffers(h) ? 0 : GetLastError();
    CloseHandle(h);
    return int(err);
}

int flushFolderOf(const QString&)
{
    // NTFS keeps a rename in its own log; a folder has nothing to flush.
    return 0;
}
