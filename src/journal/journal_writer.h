#pragma once

#include "journal/append_file.h"
#include "journal/journal_row.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

// Appends rows to the journal on threads of its own, so that the user-interface thread never
// waits for the disk: append() only queues. One thread writes each batch as soon as it is
// queued; another flushes what was written to the disk. Writing never waits for a flush, so
// a row is in the file (safe from the program being killed) within moments even when the
// disk takes long to flush. A batch that cannot be written is cut back off the file and tried
// again with the next row, so the chain stays whole once the disk lets it.
class JournalWriter
{
public:
    // Called on a writer's thread with the system's code of each failed write or flush.
    using ErrorHandler = std::function<void(int code)>;

    // lead: bytes written before the first row (the header of a new file, the line end after
    // a torn line); lastCheck: the check of the last whole row already in the file.
    JournalWriter(const QString& path, const QByteArray& lead, const QByteArray& lastCheck,
                  ErrorHandler onError);
    // Writes and flushes what is still queued, then ends the threads.
    ~JournalWriter();
    JournalWriter(const JournalWriter&) = delete;
    JournalWriter& operator=(const JournalWriter&) = delete;

    void append(JournalRow row);
    // Waits until every row queued so far has been tried, and what went in flushed (tests
    // and benchmarks).
    void waitUntilWritten();

private:
    void write();
    void flush();
    // True when anything went into the file.
    bool writePending();

    const QString path_;
    const ErrorHandler onError_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    QList<JournalRow> queue_;
    bool writing_ = false;
    bool stopping_ = false;
    bool writerDone_ = false;
    // Counts the batches that went into the file, and those a flush has covered.
    unsigned long long written_ = 0;
    unsigned long long flushed_ = 0;
    // Owned by the writing thread.
    QByteArray pending_;
    QByteArray lastCheck_;
    AppendFile file_;
    std::thread writer_;
    std::thread flusher_;
};
