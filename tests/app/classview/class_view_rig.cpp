#include "class_view_rig.h"

#include "lab/csv_dialect.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <gtest/gtest.h>

namespace classview_rig {

QByteArray FixedFeed::recordCsv(const ::lab::CsvDialect& dialect) const {
    return QByteArray("csv ") + dialect.separator + ' ' + dialect.decimal + '\n';
}

void FixedFeed::add(const QJsonArray& values) {
    rows.append(values);
    emit recordChanged({app::classview::RecordChange::Kind::Added, rows.size() - 1, values});
}

void FixedFeed::clear() {
    rows = QJsonArray();
    emit recordChanged({app::classview::RecordChange::Kind::Cleared, 0, {}});
}

bool waitUntil(const std::function<bool()>& done, int ms) {
    QElapsedTimer clock;
    clock.start();
    QTimer wake;  // so that a wait for events ends in time
    wake.start(5);
    while (!done()) {
        if (clock.elapsed() > ms) return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

void spin(int ms) {
    QElapsedTimer clock;
    clock.start();
    waitUntil([&] { return clock.elapsed() >= ms; }, ms + 1000);
}

quint16 freePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

bool portOpen(quint16 port) {
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    waitUntil([&] { return socket.state() == QAbstractSocket::ConnectedState || socket.error() != QAbstractSocket::UnknownSocketError; },
              2000);
    return socket.state() == QAbstractSocket::ConnectedState;
}

Answer exchange(quint16 port, const QByteArray& request, int ms) {
    Answer answer;
    QTcpSocket socket;
    QByteArray got;
    QObject::connect(&socket, &QTcpSocket::readyRead, [&] { got += socket.readAll(); });
    QObject::connect(&socket, &QTcpSocket::disconnected, [&] { answer.closed = true; });
    QObject::connect(&socket, &QTcpSocket::errorOccurred, [&](QAbstractSocket::SocketError e) {
        if (e == QAbstractSocket::RemoteHostClosedError || e == QAbstractSocket::NetworkError) answer.closed = true;
    });
    socket.connectToHost(QHostAddress::LocalHost, port);
    socket.write(request);
    const auto complete = [&] {
        const qsizetype end = got.indexOf("\r\n\r\n");
        if (end < 0) return false;
        const QByteArray head = got.left(end);
        const qsizetype at = head.toLower().indexOf("content-length:");
        if (at < 0) return true;
        const qsizetype lineEnd = head.indexOf("\r\n", at);
        const qint64 length = head.mid(at + 15, lineEnd < 0 ? -1 : lineEnd - at - 15).trimmed().toLongLong();
        return request.startsWith("HEAD ") || got.size() - end - 4 >= length;
    };
    waitUntil([&] { return answer.closed || complete(); }, ms);
    const qsizetype end = got.indexOf("\r\n\r\n");
    answer.head = end < 0 ? got : got.left(end);
    answer.body = end < 0 ? QByteArray() : got.mid(end + 4);
    if (answer.head.startsWith("HTTP/1.1 ")) answer.status = answer.head.mid(9, 3).toInt();
    return answer;
}

QByteArray request(const QByteArray& method, const QByteArray& target, const QByteArray& extra) {
    return method + ' ' + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\n" + extra + "\r\n";
}

QByteArray upgradeHeaders() {
    return "Upgrade: websocket\r\nConnection: Upgrade\r\nSec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n"
           "Sec-WebSocket-Version: 13\r\n";
}

void LiveClient::open(quint16 port, const QByteArray& token) {
    QObject::connect(socket.get(), &QWebSocket::textMessageReceived, [this](const QString& text) {
        messages.append(QJsonDocument::fromJson(text.toUtf8()).object());
    });
    QObject::connect(socket.get(), &QWebSocket::disconnected, [this] { closed = true; });
    socket->open(QUrl(QStringLiteral("ws://127.0.0.1:%1/live?k=%2").arg(port).arg(QString::fromLatin1(token))));
}

Rig::Rig(const app::classview::ClassServer::Limits& limits)
    : tokens(folder.filePath(QStringLiteral("token"))), server(feed, tokens, limits, nullptr) {
    port = freePort();
    const QString problem = server.start(QHostAddress(QHostAddress::LocalHost), port);
    EXPECT_EQ(problem, "");
}

long residentKilobytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').front().toLong();
    return 0;
}

}  // namespace classview_rig
