#include "instance/instance_channel.h"

#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>

namespace {

// What the running program answers a later start with, once it has been asked to the front.
const QByteArray Answer = QByteArrayLiteral("front\n");

class LocalSocketChannel final : public InstanceChannel
{
public:
    bool listen(const QString& name, std::function<void()> asked, QString* error) override
    {
        asked_ = std::move(asked);
        QObject::connect(&server_, &QLocalServer::newConnection, &server_, [this] { answer(); });
        // Only the lock's holder listens, so a socket of this name is one a killed program left.
        QLocalServer::removeServer(name);
        if (server_.listen(name))
            return true;
        if (error)
            *error = server_.errorString();
        return false;
    }

    bool ask(const QString& name, int msecs) override
    {
        QElapsedTimer clock;
        clock.start();
        QLocalSocket socket;
        socket.connectToServer(name);
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

private:
    void answer()
    {
        while (QLocalSocket* socket = server_.nextPendingConnection()) {
            QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            socket->write(Answer);
            socket->flush();
            socket->disconnectFromServer();
            if (asked_)
                asked_();
        }
    }

    QLocalServer server_;
    std::function<void()> asked_;
};

} // namespace

extern "C" Q_DECL_EXPORT InstanceChannel* pwMakeInstanceChannel()
{
    return new LocalSocketChannel;
}
