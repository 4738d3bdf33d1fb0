#pragma once
// HttpFront: the class view's answers over HTTP, on Qt's HTTP server (which
// parses the requests; nothing here reads the bytes of a request):
//   GET /?k=TOKEN            the page
//   GET /live?k=TOKEN        the live messages, a WebSocket (the live hub's)
//   GET /record.csv?k=TOKEN[&dialect=comma|semicolon]   the lab's record
//   GET /state.json?k=TOKEN  what --state holds, less file paths
// HEAD answers the same without the body. Another method is 405, another
// path 404, a missing or wrong token 403 (compared in constant time); there
// is nothing else to read: no files, no folders.
#include <QAbstractHttpServer>
#include <QByteArray>

namespace app::classview {

class Feed;
class GuardedListener;

class HttpFront : public QAbstractHttpServer {
    Q_OBJECT
public:
    HttpFront(const Feed& feed, QByteArray token, QObject* parent = nullptr);

    void setToken(QByteArray token) { token_ = std::move(token); }
    // Listens through `listener` (already listening), which is told of every
    // connection that becomes a WebSocket.
    void serveOn(GuardedListener* listener);

protected:
    bool handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) override;
    void missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) override;

private:
    const Feed& feed_;
    QByteArray token_;
    GuardedListener* listener_ = nullptr;
};

}  // namespace app::classview
