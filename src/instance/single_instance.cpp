#include "instance/single_instance.h"

#include "instance/foreground_permission.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalSocket>
#include <QThread>

namespace {
// A second start gives up after this long, so that it ends within a second of starting.
constexpr int AnswerBudgetMs = 700;
constexpr int RetryPauseMs = 50;
// A lock file that names no owner and is older than this was left by a start cut off between
// making the file and writing it (a power cut); younger, it may be a start in that very moment.
constexpr qint64 UnreadableLockAgeMs = 2000;
// What the running program answers a later start with, once it has been asked to the front.
const QByteArray Answer = QByteArrayLiteral("front\n");
} // namespace

// Hidden on Linux; no data file of the program's is named like it.
const QString SingleInstance::LockFileName = QStringLiteral(".prize-wheel.lock");

SingleInstance::SingleInstance(const QString& folder, QObject* parent)
    : QObject(parent), name_(serverName(folder)), lock_(QDir(folder).filePath(LockFileName))
{
    // Age alone never makes a lock stale: the program runs for a whole evening. A lock whose
    // process no longer runs is stale at once.
    lock_.setStaleLockTime(0);
    connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::answer);
}

SingleInstance::~SingleInstance()
{
    server_.close();
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
            listen();
            return true;
        }
        if (lock_.error() != QLockFile::LockFailedError) {
            // The folder cannot hold the lock (read-only, say): the socket alone tells whether
            // a program runs there.
            if (askRunningProgram(RetryPauseMs))
                return false;
            listen();
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

bool SingleInstance::askRunningProgram(int msecs) const
{
    QElapsedTimer clock;
    clock.start();
    // The running program raises itself on the connection; this start, which the user has
    // just made, lets it take the foreground.
    allowToComeForward(ownerPid_);
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (!socket.waitForConnected(msecs))
        return false;
    // Connected: the running program raises itself when it takes the connection, at the
    // latest once its start-up is over. Its answer tells that it has.
    while (!socket.canReadLine()) {
        const int left = msecs - static_cast<int>(clock.elapsed());
        if (left <= 0 || !socket.waitForReadyRead(left))
            break;
    }
    socket.abort();
    return true;
}

void SingleInstance::listen()
{
    // Only the lock's holder listens, so a socket of this name is one a killed program left.
    QLocalServer::removeServer(name_);
    if (!server_.listen(name_))
        qWarning("Cannot listen on %s: %s", qPrintable(name_), qPrintable(server_.errorString()));
}

void SingleInstance::answer()
{
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        socket->write(Answer);
        socket->flush();
        socket->disconnectFromServer();
        emit activationRequested();
    }
}
