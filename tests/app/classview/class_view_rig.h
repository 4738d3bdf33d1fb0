#pragma once
// What the class view's tests share: a feed of fixed JSON (the protocol does
// not depend on what the feed holds), waiting on the event loop, raw HTTP
// exchanges and WebSocket clients on this computer.
#include "app/classview/class_server.h"
#include "app/classview/feed.h"
#include "app/classview/token_store.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QTemporaryDir>
#include <QWebSocket>
#include <functional>
#include <memory>

namespace classview_rig {

class FixedFeed : public app::classview::Feed {
public:
    QJsonObject liveJson{{"circuit", QJsonObject{{"CurrentMilliamps", 12.5}, {"PhaseDegrees", QJsonValue()}}},
                         {"readouts", QJsonObject{{"Panel3", "12.5 mA"}}},
                         {"lab", QJsonObject{{"Points", 1}}}};
    QJsonObject stateJson{{"state", QJsonObject{{"AmmeterValue", 12.5}}}};
    QJsonArray rows{QJsonArray{0.0, 50.0, 12.5, 1250.0, 100.0, 0.0, 15.625, 1.0, 1}};

    QJsonObject live() const override { return liveJson; }
    QJsonObject state() const override { return stateJson; }
    QByteArray recordCsv(const ::lab::CsvDialect& dialect) const override;
    QJsonArray recordRows() const override { return rows; }

    void block() { emit blockMeasured(); }
    void add(const QJsonArray& values);
    void clear();
};

// Runs the event loop until `done` or `ms` have passed; whether it is done.
bool waitUntil(const std::function<bool()>& done, int ms = 3000);
// Runs the event loop for `ms`.
void spin(int ms);

// A port no one listens on now.
quint16 freePort();
// Whether something accepts connections on 127.0.0.1:port.
bool portOpen(quint16 port);

struct Answer {
    int status = 0;         // 0: no status line came
    QByteArray head;        // the status line and the headers
    QByteArray body;
    bool closed = false;    // the server closed the connection
};
// Sends `request` as it is on a new connection and reads what comes back
// (until the body's Content-Length is read, the server closes, or `ms`).
Answer exchange(quint16 port, const QByteArray& request, int ms = 2000);
// "GET <target> HTTP/1.1" with a Host and the extra header lines.
QByteArray request(const QByteArray& method, const QByteArray& target, const QByteArray& extra = {});
// The headers of a WebSocket handshake.
QByteArray upgradeHeaders();

// A page's WebSocket: the messages it got, parsed.
struct LiveClient {
    std::unique_ptr<QWebSocket> socket = std::make_unique<QWebSocket>();
    QList<QJsonObject> messages;
    bool closed = false;
    void open(quint16 port, const QByteArray& token);
};

// A server on 127.0.0.1 with a token file in a folder of its own.
struct Rig {
    explicit Rig(const app::classview::ClassServer::Limits& limits = {});
    QTemporaryDir folder;
    FixedFeed feed;
    app::classview::TokenStore tokens;
    app::classview::ClassServer server;
    quint16 port = 0;
    QByteArray token() const { return tokens.token(); }
    // "/?k=TOKEN" for a path
    QByteArray withToken(const QByteArray& path) const { return path + "?k=" + token(); }
};

// Kilobytes of memory the process holds (VmRSS).
long residentKilobytes();

}  // namespace classview_rig
