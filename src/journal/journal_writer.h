#pragma once

#include "journal/journal_row.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

// Appends rows to the journal on a thread of its own, so that the user-interface thread
// never waits for the disk: append() only queues. Each batch is written and flushed to the
// disk (fdatasync) as soon as it is queued. A batch that cannot be written is cut back off
// the file and tried again with the next row, so the chain stays whole once the disk lets it.
class JournalWriter
{
public:
    // Called on the writer's thread with the errno of each failed write.
    using ErrorHandler = std::function<void(int errnum)>;

    // lead: bytes written before the first row (the header of a new file, the line end after
    // a torn line); lastCheck: the check of the last whole row already in the file.
    JournalWriter(const QString& path, const QByteArray& lead, const QByteArray& lastCheck,
                  ErrorHandler onError);
    // Writes what is still queued, then ends the thread.
    ~JournalWriter();
    JournalWriter(const JournalWriter&) = delete;
    JournalWriter& operator=(const JournalWriter&) = delete;

    void append(JournalRow row);
    // Waits until every row queued so far has been tried (tests and benchmarks).
    void waitUntilWritten();

private:
    void run();
    void writePending();

    const QByteArray path_;
    const ErrorHandler onError_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    QList<JournalRow> queue_;
    bool busy_ = false;
    bool stopping_ = false;
    // Owned by the writer's thread.
    QByteArray pending_;
    QByteArray lastCheck_;
    int fd_ = -1;
    std::thread thread_;
};
