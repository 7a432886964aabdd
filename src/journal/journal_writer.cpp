#include "journal/journal_writer.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

JournalWriter::JournalWriter(const QString& path, const QByteArray& lead,
                             const QByteArray& lastCheck, ErrorHandler onError)
    : path_(QFile::encodeName(path)), onError_(std::move(onError)), pending_(lead),
      lastCheck_(lastCheck)
{
    thread_ = std::thread([this] { run(); });
}

JournalWriter::~JournalWriter()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    thread_.join();
    if (fd_ >= 0)
        ::close(fd_);
}

void JournalWriter::append(JournalRow row)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        queue_.append(std::move(row));
    }
    wake_.notify_one();
}

void JournalWriter::waitUntilWritten()
{
    std::unique_lock<std::mutex> lock(mutex_);
    idle_.wait(lock, [this] { return queue_.isEmpty() && !busy_; });
}

void JournalWriter::run()
{
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || !queue_.isEmpty(); });
        const bool stopping = stopping_;
        QList<JournalRow> rows = std::move(queue_);
        queue_.clear();
        busy_ = true;
        lock.unlock();

        // Checks are formed here, in queue order, so the chain costs the caller nothing.
        for (JournalRow& row : rows) {
            pending_ += formatRow(row, lastCheck_);
            lastCheck_ = row.check;
        }
        if (!pending_.isEmpty() && (!rows.isEmpty() || stopping))
            writePending();

        lock.lock();
        busy_ = false;
        idle_.notify_all();
        if (stopping && queue_.isEmpty())
            return;
    }
}

void JournalWriter::writePending()
{
    if (fd_ < 0) {
        fd_ = ::open(path_.constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
        if (fd_ < 0) {
            onError_(errno);
            return;
        }
    }
    struct stat st;
    const off_t before = ::fstat(fd_, &st) == 0 ? st.st_size : -1;
    const char* p = pending_.constData();
    qsizetype left = pending_.size();
    while (left > 0) {
        const ssize_t written = ::write(fd_, p, static_cast<size_t>(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            const int err = written < 0 ? errno : ENOSPC;
            // Only whole rows may stay in the file; the batch is tried again later.
            if (before >= 0 && ::ftruncate(fd_, before) != 0) {
                // The cut failed as well: what was written stays, the rest is tried again.
                pending_.remove(0, pending_.size() - left);
            }
            ::close(fd_);
            fd_ = -1;
            onError_(err);
            return;
        }
        p += written;
        left -= written;
    }
    pending_.clear();
    if (::fdatasync(fd_) != 0 && errno != EINVAL)
        onError_(errno);
}
