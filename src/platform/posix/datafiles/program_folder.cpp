#include "datafiles/app_paths.h"

#include <QCoreApplication>

QString runningProgramFolder()
{
    return QCoreApplication::applicationDirPath();
}

QString displayPath(const QString& path)
{
    return path;
}
