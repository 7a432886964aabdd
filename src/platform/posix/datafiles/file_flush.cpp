#include "datafiles/background_flush.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

int flushFile(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    const int err = ::fsync(fd) != 0 && errno != EINVAL ? errno : 0;
    ::close(fd);
    return err;
}

int flushFolderOf(const QString& path)
{
    const QByteArray file = QFile::encodeName(path);
    const qsizetype slash = file.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : slash == 0 ? "/" : file.left(slash);
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    // Some file systems cannot flush a folder; the rename then is as safe as they make it.
    const int err = ::fsync(fd) != 0 && errno != EINVAL ? errno : 0;
    ::close(fd);
    return err;
}
