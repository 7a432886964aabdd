#include "datafiles/app_paths.h"

#include <QDir>

namespace {
QString& overrideFolder()
{
    static QString folder;
    return folder;
}

QString withSlash(const QString& folder)
{
    return folder.endsWith('/') ? folder : folder + '/';
}
} // namespace

QString programFolder()
{
    if (!overrideFolder().isEmpty())
        return overrideFolder();
    return withSlash(runningProgramFolder());
}

void setProgramFolderForTesting(const QString& folder)
{
    overrideFolder() = folder.isEmpty() ? QString() : withSlash(folder);
}

QString workingFolder()
{
    return withSlash(QDir::currentPath());
}
