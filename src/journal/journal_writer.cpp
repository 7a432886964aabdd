#include "journal/journal_writer.h"

JournalWriter::JournalWriter(const QString& path, const QByteArray& lead,
                             const QByteArray& lastCheck, ErrorHandler onError)
    : path_(path), onError_(std::move(onError)), pending_(lead), lastCheck_(lastCheck)
{
    writer_ = std::thread([this] { write(); });
    flusher_ = std::thread([this] { flush(); });
}

JournalWriter::~JournalWriter()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    writer_.join();
    flusher_.join();
}

void JournalWriter::append(JournalRow row)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        queue_.append(std::move(row));
    }
    wake_.notify_all();
}

void JournalWriter::waitUntilWritten()
{
    std::unique_lock<std::mutex> lock(mutex_);
    idle_.wait(lock, [this] { return queue_.isEmpty() && !writing_ && flushed_ == written_; });
}

void JournalWriter::write()
{
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || !queue_.isEmpty(); });
        const bool stopping = stopping_;
        QList<JournalRow> rows = std::move(queue_);
        queue_.clear();
        writing_ = true;
        lock.unlock();

        // Checks are formed here, in queue order, so the chain costs the caller nothing.
        for (JournalRow& row : rows) {
            pending_ += formatRow(row, lastCheck_);
            lastCheck_ = row.check;
        }
        const bool wrote = !pending_.isEmpty() && (!rows.isEmpty() || stopping) && writePending();

        lock.lock();
        writing_ = false;
        if (wrote)
            ++written_;
        wake_.notify_all();
        idle_.notify_all();
        if (stopping && queue_.isEmpty()) {
            writerDone_ = true;
            wake_.notify_all();
            return;
        }
    }
}

void JournalWriter::flush()
{
    AppendFile file;
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return writerDone_ || flushed_ != written_; });
        if (flushed_ == written_)
            return; // the writer has ended and everything it wrote is flushed
        const unsigned long long covered = written_;
        lock.unlock();
        int err = file.isOpen() ? 0 : file.open(path_);
        if (!err)
            err = file.flush();
        if (err) {
            file.close();
            onError_(err);
        }
        lock.lock();
        flushed_ = covered;
        idle_.notify_all();
    }
}

bool JournalWriter::writePending()
{
    if (!file_.isOpen()) {
        if (const int err = file_.open(path_)) {
            onError_(err);
            return false;
        }
    }
    const qint64 before = file_.size();
    qsizetype written = 0;
    if (const int err = file_.write(pending_, written)) {
        // Only whole rows may stay in the file; the batch is tried again later.
        if (before < 0 || file_.cutTo(before) != 0) {
            // The cut failed as well: what was written stays, the rest is tried again.
            pending_.remove(0, written);
        }
        file_.close();
        onError_(err);
        return written > 0;
    }
    pending_.clear();
    return true;
}
