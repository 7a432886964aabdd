#include "datafiles/app_paths.h"

#include <QDir>
#include <vector>
#include <windows.h>

QString runningProgramFolder()
{
    // The module file name of the program itself; paths longer than MAX_PATH need a larger
    // buffer, so it grows until the name fits.
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), DWORD(buffer.size()));
        if (n == 0)
            return QDir::currentPath();
        if (n < buffer.size()) {
            const QString file =
                QDir::fromNativeSeparators(QString::fromWCharArray(buffer.data(), int(n)));
            return file.left(file.lastIndexOf('/'));
        }
        buffer.resize(buffer.size() * 2);
    }
}

QString displayPath(const QString& path)
{
    return QDir::toNativeSeparators(path);
}
