#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>

// One program at a time per program folder. The first start holds a lock file in the folder
// and listens on a local socket named from the folder; a later start finds the lock held, asks
// the running program over the socket to come to the front, and ends without touching the
// folder's data. Programs in different folders never meet. A lock left by a program that
// crashed or was killed names a process that no longer runs, and is taken over.
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    // The lock file's name in the program folder.
    static const QString LockFileName;

    explicit SingleInstance(const QString& folder, QObject* parent = nullptr);
    ~SingleInstance() override;
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // true: this process runs the folder's program (the lock is its own, or the folder cannot
    // hold a lock and no program answers). false: another program runs there and has been
    // asked to come to the front, or is still starting and did not answer within a second;
    // either way this process is to end. Waits at most that second.
    bool claim();

    // The local socket's name for a folder: the same for every spelling of one folder.
    static QString serverName(const QString& folder);

signals:
    // A later start asked this program to come to the front.
    void activationRequested();

private:
    bool takeLock();
    bool askRunningProgram(int msecs) const;
    void listen();
    void answer();

    QString name_;
    QLockFile lock_;
    QLocalServer server_;
    // The running program's process, as its lock file names it; 0 until read.
    qint64 ownerPid_ = 0;
};
