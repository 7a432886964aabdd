#include "instance/single_instance.h"

#include "instance/foreground_permission.h"
#include "instance/instance_channel.h"
#include "late/late_library.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>

namespace {
// A second start gives up after this long, so that it ends within a second of starting.
constexpr int AnswerBudgetMs = 700;
constexpr int RetryPauseMs = 50;
// A lock file that names no owner and is older than this was left by a start cut off between
// making the file and writing it (a power cut); younger, it may be a start in that very moment.
constexpr qint64 UnreadableLockAgeMs = 2000;
} // namespace

// Hidden on Linux; no data file of the program's is named like it.
const QString SingleInstance::LockFileName = QStringLiteral(".prize-wheel.lock");

SingleInstance::SingleInstance(const QString& folder, QObject* parent)
    : QObject(parent), name_(serverName(folder)), lock_(QDir(folder).filePath(LockFileName))
{
    // Age alone never makes a lock stale: the program runs for a whole evening. A lock whose
    // process no longer runs is stale at once.
    lock_.setStaleLockTime(0);
}

SingleInstance::~SingleInstance()
{
    channel_.reset();
    if (lock_.isLocked())
        lock_.unlock();
}

QString SingleInstance::serverName(const QString& folder)
{
    const QFileInfo info(folder);
    QString path = info.canonicalFilePath();
    if (path.isEmpty())
        path = QDir::cleanPath(info.absoluteFilePath());
    const QByteArray hash = QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha256);
    return QStringLiteral("prize-wheel-") + QString::fromLatin1(hash.toHex().left(32));
}

bool SingleInstance::claim()
{
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        if (takeLock()) {
            claimed_ = true;
            return true;
        }
        if (lock_.error() != QLockFile::LockFailedError) {
            // The folder cannot hold the lock (read-only, say): the socket alone tells whether
            // a program runs there.
            if (askRunningProgram(RetryPauseMs))
                return false;
            claimed_ = true;
            return true;
        }
        const int left = AnswerBudgetMs - static_cast<int>(clock.elapsed());
        if (left <= 0 || askRunningProgram(left))
            return false;
        // The holder is still starting and not listening yet, or has just ended.
        QThread::msleep(RetryPauseMs);
    }
}

bool SingleInstance::takeLock()
{
    if (lock_.tryLock(0))
        return true;
    if (lock_.error() != QLockFile::LockFailedError)
        return false;
    qint64 pid = 0;
    QString host, application;
    if (lock_.getLockInfo(&pid, &host, &application)) {
        ownerPid_ = pid;
        return false; // a live owner: stale ones were taken over by tryLock
    }
    const QDateTime modified = QFileInfo(lock_.fileName()).lastModified();
    if (modified.isValid() &&
        qAbs(modified.msecsTo(QDateTime::currentDateTime())) < UnreadableLockAgeMs)
        return false;
    // Removing fails while a running program holds the file open under its lock.
    return lock_.removeStaleLockFile() && lock_.tryLock(0);
}

bool SingleInstance::askRunningProgram(int msecs)
{
    // The running program raises itself on the connection; this start, which the user has
    // just made, lets it take the foreground.
    allowToComeForward(ownerPid_);
    InstanceChannel* asking = channel();
    return asking && asking->ask(name_, msecs);
}

void SingleInstance::listenForLaterStarts()
{
    if (!claimed_)
        return;
    claimed_ = false;
    InstanceChannel* listening = channel();
    QString error;
    if (listening && !listening->listen(
                         name_, [this] { emit activationRequested(); }, &error))
        qWarning("Cannot listen on %s: %s", qPrintable(name_), qPrintable(error));
}

InstanceChannel* SingleInstance::channel()
{
    if (channel_)
        return channel_.get();
    QString error;
    if (auto* make = lateFunctionOf<MakeInstanceChannel>("pwMakeInstanceChannel", &error))
        channel_.reset(make());
    else
        qWarning("No program can be asked to the front: %s", qPrintable(error));
    return channel_.get();
}
