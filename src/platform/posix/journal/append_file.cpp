#include "journal/append_file.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

int AppendFile::open(const QString& path)
{
    close();
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return errno;
    handle_ = fd;
    return 0;
}

void AppendFile::close()
{
    if (isOpen())
        ::close(static_cast<int>(handle_));
    handle_ = -1;
}

qint64 AppendFile::size() const
{
    struct stat st;
    return ::fstat(static_cast<int>(handle_), &st) == 0 ? st.st_size : -1;
}

int AppendFile::write(const QByteArray& data, qsizetype& written)
{
    written = 0;
    while (written < data.size()) {
        const ssize_t n = ::write(static_cast<int>(handle_), data.constData() + written,
                                  static_cast<size_t>(data.size() - written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n < 0 ? errno : ENOSPC;
        written += n;
    }
    return 0;
}

int AppendFile::cutTo(qint64 length)
{
    return ::ftruncate(static_cast<int>(handle_), length) == 0 ? 0 : errno;
}

int AppendFile::flush()
{
    // Some file systems cannot flush; the data is then as safe as they make it.
    return ::fdatasync(static_cast<int>(handle_)) == 0 || errno == EINVAL ? 0 : errno;
}
