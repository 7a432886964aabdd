#include "datafiles/atomic_file.h"

#include "datafiles/background_flush.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int writeAll(int fd, const QByteArray& data)
{
    const char* p = data.constData();
    qsizetype left = data.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, p, static_cast<size_t>(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        p += written;
        left -= written;
    }
    return 0;
}

int writeInPlace(const QByteArray& target, const QByteArray& data, Flush flush)
{
    const int fd = ::open(target.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return errno;
    int err = writeAll(fd, data);
    if (!err && flush == Flush::InBackground)
        flushInBackground(QFile::decodeName(target));
    else if (!err && ::fsync(fd) != 0 && errno != EINVAL)
        err = errno;
    if (::close(fd) != 0 && !err)
        err = errno;
    return err;
}

} // namespace

int writeFileAtomically(const QString& path, const QByteArray& data, Flush flush)
{
    QByteArray target = QFile::encodeName(path);
    // Write through a link to the file it names, so that the link stays a link.
    if (char* real = ::realpath(target.constData(), nullptr)) {
        target = real;
        ::free(real);
    }

    struct stat st;
    const bool exists = ::stat(target.constData(), &st) == 0;
    if (exists && ::access(target.constData(), W_OK) != 0)
        return errno;

    QByteArray temp = target + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        if (errno == EACCES || errno == EROFS || errno == EPERM)
            return writeInPlace(target, data, flush);
        return errno;
    }
    ::fchmod(fd, exists ? (st.st_mode & 07777) : 0644);
    int err = writeAll(fd, data);
    if (!err && flush == Flush::Now && ::fsync(fd) != 0)
        err = errno;
    if (::close(fd) != 0 && !err)
        err = errno;
    if (!err && ::rename(temp.constData(), target.constData()) != 0)
        err = errno;
    if (err) {
        ::unlink(temp.constData());
        return err;
    }
    // The rename lives in the folder: flushed too, a power cut keeps the new file.
    if (flush == Flush::InBackground)
        flushInBackground(QFile::decodeName(target));
    else
        flushFolderOf(QFile::decodeName(target));
    return 0;
}
