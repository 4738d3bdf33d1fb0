#include "app/classview/guarded_listener.h"

#include <algorithm>

namespace app::classview {

// A connection with what the guard knows of it. Its signals may be
// disconnected by the HTTP server when it hands the socket over to the
// WebSocket server; the guard then only counts it.
class GuardedListener::Connection : public QTcpSocket {
public:
    using QTcpSocket::QTcpSocket;
    qint64 since = 0;        // ms of the guard's clock: accepted, or the last answer written
    qint64 received = 0;     // bytes since then
    bool webSocket = false;
    bool refused = false;    // closing: nothing more is counted
};

GuardedListener::GuardedListener(const Limits& limits, QObject* parent) : QTcpServer(parent), limits_(limits) {
    clock_.start();
    sweeper_.setInterval(std::clamp(limits_.requestMilliseconds / 4, 50, 500));
    connect(&sweeper_, &QTimer::timeout, this, &GuardedListener::sweep);
    sweeper_.start();
}

int GuardedListener::openConnections() {
    std::erase_if(open_, [](const QPointer<Connection>& c) { return c.isNull(); });
    return static_cast<int>(open_.size());
}

void GuardedListener::upgraded(QTcpSocket* socket) {
    for (const QPointer<Connection>& c : open_)
        if (c == socket) c->webSocket = true;
}

void GuardedListener::incomingConnection(qintptr descriptor) {
    auto* connection = new Connection(this);
    if (!connection->setSocketDescriptor(descriptor)) {
        delete connection;
        return;
    }
    if (openConnections() >= limits_.connections) {
        connection->abort();
        connection->deleteLater();
        return;
    }
    watch(connection);
    addPendingConnection(connection);
}

void GuardedListener::watch(Connection* connection) {
    connection->setSocketOption(QAbstractSocket::SendBufferSizeSocketOption, limits_.sendBufferBytes);
    // Qt reads no more than this from the system before the server takes it.
    connection->setReadBufferSize(limits_.requestBytes);
    connection->since = clock_.elapsed();
    // Connected before the HTTP server connects its own reader, so this sees
    // each arrival before the server reads it.
    connect(connection, &QTcpSocket::readyRead, this, [this, connection] {
        if (connection->webSocket || connection->refused) return;
        // Qt's server leaves an unfinished request in the socket's buffer, so
        // a full buffer is a request too long as well.
        connection->received += connection->bytesAvailable();
        if (connection->received >= limits_.requestBytes) {
            connection->refused = true;
            QMetaObject::invokeMethod(connection, &QAbstractSocket::abort, Qt::QueuedConnection);
        }
    });
    connect(connection, &QTcpSocket::bytesWritten, this, [this, connection] {
        connection->since = clock_.elapsed();
        connection->received = 0;
    });
    open_.emplace_back(connection);
}

void GuardedListener::sweep() {
    const qint64 now = clock_.elapsed();
    for (const QPointer<Connection>& c : open_) {
        if (c.isNull() || c->webSocket || c->refused) continue;
        // Idle between requests, a request that does not end, or an answer
        // that is not taken: closed.
        const int patience = c->bytesToWrite() == 0 ? limits_.requestMilliseconds : limits_.stalledMilliseconds;
        if (now - c->since > patience) {
            c->refused = true;
            c->abort();
        }
    }
    openConnections();
}

}  // namespace app::classview
