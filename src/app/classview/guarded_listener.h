#pragma once
// GuardedListener: the listening socket of the class view, with the bounds
// Qt's HTTP server does not keep by itself (Qt 6.4 reads a request line or
// headers of any length into memory and keeps an idle connection open for
// ever): a bounded number of connections at once, a request of a bounded
// size that must arrive within a bounded time, and a small kernel send
// buffer per connection, so that a client that does not read is seen soon.
// A connection that became a WebSocket (upgraded()) is the live hub's to
// watch from then on.
#include <QElapsedTimer>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <vector>

namespace app::classview {

class GuardedListener : public QTcpServer {
    Q_OBJECT
public:
    struct Limits {
        int connections = 400;               // open at once; more are closed as they come
        qint64 requestBytes = 16 * 1024;     // request line and headers (a GET has no body)
        int requestMilliseconds = 5000;      // from the connection or the last answer to the next request
        int stalledMilliseconds = 30000;     // an answer the client does not take
        int sendBufferBytes = 64 * 1024;     // the kernel's buffer toward the client
    };

    explicit GuardedListener(QObject* parent = nullptr) : GuardedListener(Limits{}, parent) {}
    GuardedListener(const Limits& limits, QObject* parent);

    // The HTTP server handed this connection to the WebSocket server.
    void upgraded(QTcpSocket* socket);
    // Connections open now (HTTP and WebSocket).
    int openConnections();

protected:
    void incomingConnection(qintptr descriptor) override;

private:
    class Connection;
    void watch(Connection* connection);
    void sweep();

    Limits limits_;
    QElapsedTimer clock_;
    QTimer sweeper_;
    std::vector<QPointer<Connection>> open_;
};

}  // namespace app::classview
