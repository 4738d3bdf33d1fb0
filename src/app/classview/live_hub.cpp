#include "app/classview/live_hub.h"

#include "app/classview/feed.h"
#include "lab/quantity.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QWebSocket>

namespace app::classview {
namespace {

// The record's columns as the page labels them.
QJsonArray columnsJson() {
    QJsonArray columns;
    for (const ::lab::Quantity q : ::lab::kQuantities)
        columns.append(QJsonObject{{"Key", ::lab::keyOf(q)},
                                   {"Symbol", ::lab::symbolOf(q)},
                                   {"Unit", ::lab::unitOf(q)},
                                   {"Name", ::lab::nameOf(q)},
                                   {"Decimals", ::lab::decimalsOf(q)}});
    columns.append(QJsonObject{{"Key", "Run"}});
    return columns;
}

QJsonObject changeJson(const RecordChange& change) {
    switch (change.kind) {
        case RecordChange::Kind::Added:
            return {{"Change", "Added"}, {"Row", change.row}, {"Values", change.values}};
        case RecordChange::Kind::Removed: return {{"Change", "Removed"}, {"Row", change.row}};
        case RecordChange::Kind::Cleared: break;
    }
    return {{"Change", "Cleared"}};
}

// The socket is deleted from the event loop: it may be inside one of its
// own signals when the hub lets it go.
struct Later {
    void operator()(QWebSocket* socket) const { socket->deleteLater(); }
};

}  // namespace

struct LiveHub::Client {
    std::unique_ptr<QWebSocket, Later> socket;
    qint64 allowance = 0;  // unsent bytes allowed now
    qint64 received = 0;
    bool fresh = true;     // the next message has the whole record
    bool gone = false;
};

LiveHub::LiveHub(const Feed& feed, const Limits& limits, QObject* parent)
    : QObject(parent), feed_(feed), limits_(limits) {
    clock_.start();
    ticker_.setTimerType(Qt::PreciseTimer);
    ticker_.setInterval(limits_.periodMilliseconds);
    connect(&ticker_, &QTimer::timeout, this, &LiveHub::tick);
    connect(&feed_, &Feed::blockMeasured, this, [this] { newBlock_ = true; });
    connect(&feed_, &Feed::recordChanged, this, &LiveHub::recordChanged);
}

LiveHub::~LiveHub() {
    // At once, not from the event loop: the connections under the sockets
    // go with the listener right after the hub.
    for (auto& c : clients_) {
        QObject::disconnect(c->socket.get(), nullptr, this, nullptr);
        delete c->socket.release();
    }
}

int LiveHub::clients() const {
    int n = 0;
    for (const auto& c : clients_) n += c->gone ? 0 : 1;
    return n;
}

void LiveHub::adopt(std::unique_ptr<QWebSocket> socket) {
    if (clients() >= limits_.clients) {
        socket->close(static_cast<QWebSocketProtocol::CloseCode>(1013), QStringLiteral("Příliš mnoho zařízení."));
        socket.release()->deleteLater();
        return;
    }
    socket->setMaxAllowedIncomingFrameSize(4096);
    socket->setMaxAllowedIncomingMessageSize(4096);
    auto client = std::make_unique<Client>();
    client->socket.reset(socket.release());
    Client* c = client.get();
    QWebSocket* s = c->socket.get();
    connect(s, &QWebSocket::disconnected, this, [this, c] {
        c->gone = true;
        QMetaObject::invokeMethod(this, &LiveHub::removeGone, Qt::QueuedConnection);
    });
    // Counted, never acted on.
    const auto heard = [this, c](qint64 bytes) {
        c->received += bytes;
        if (c->received > limits_.incomingBytes && !c->gone) {
            drop(*c);
            QMetaObject::invokeMethod(this, &LiveHub::removeGone, Qt::QueuedConnection);
        }
    };
    connect(s, &QWebSocket::textMessageReceived, this, [heard](const QString& m) { heard(m.size()); });
    connect(s, &QWebSocket::binaryMessageReceived, this, [heard](const QByteArray& m) { heard(m.size()); });
    clients_.push_back(std::move(client));
    if (!ticker_.isActive()) ticker_.start();
    removeGone();
}

void LiveHub::recordChanged(const RecordChange& change) {
    if (change.kind == RecordChange::Kind::Cleared) changes_ = QJsonArray();
    changes_.append(changeJson(change));
    // A flood of changes (a record loaded at once) goes as the whole record.
    if (changes_.size() > limits_.mostChanges) {
        changes_ = QJsonArray();
        for (auto& c : clients_) c->fresh = true;
    }
}

QString LiveHub::message(bool wholeRecord) const {
    QJsonObject m = feed_.live();
    m.insert(QStringLiteral("t"), QDateTime::currentMSecsSinceEpoch());
    if (wholeRecord)
        m.insert(QStringLiteral("record"), QJsonArray{QJsonObject{
                                               {"Change", "Reset"},
                                               {"Columns", columnsJson()},
                                               {"Rows", feed_.recordRows()},
                                           }});
    else if (!changes_.isEmpty())
        m.insert(QStringLiteral("record"), changes_);
    return QString::fromUtf8(QJsonDocument(m).toJson(QJsonDocument::Compact));
}

void LiveHub::tick() {
    const qint64 now = clock_.elapsed();
    const bool due = newBlock_ || !changes_.isEmpty() || now - lastSent_ >= limits_.heartbeatMilliseconds;
    QString regular;
    QString whole;
    for (auto& c : clients_) {
        if (c->gone) continue;
        if (c->fresh) {
            if (whole.isEmpty()) whole = message(true);
            c->fresh = false;
            c->allowance = limits_.queueBytes + whole.size();
            send(*c, whole);
        } else if (due) {
            if (regular.isEmpty()) regular = message(false);
            send(*c, regular);
        }
    }
    if (due) {
        newBlock_ = false;
        changes_ = QJsonArray();
        lastSent_ = now;
    }
    removeGone();
}

void LiveHub::send(Client& client, const QString& text) {
    const qint64 queued = client.socket->bytesToWrite();
    if (queued < limits_.queueBytes) client.allowance = limits_.queueBytes;
    if (queued > client.allowance) {
        drop(client);
        return;
    }
    client.socket->sendTextMessage(text);
}

void LiveHub::drop(Client& client) {
    client.gone = true;
    ++dropped_;
    QObject::disconnect(client.socket.get(), nullptr, this, nullptr);
    // Not from inside the socket's own signal: from the event loop, before
    // the socket is deleted.
    QMetaObject::invokeMethod(client.socket.get(), &QWebSocket::abort, Qt::QueuedConnection);
}

void LiveHub::removeGone() {
    std::erase_if(clients_, [this](const std::unique_ptr<Client>& c) {
        if (c->gone) QObject::disconnect(c->socket.get(), nullptr, this, nullptr);
        return c->gone;
    });
    if (clients_.empty()) ticker_.stop();
    const int n = clients();
    if (n != counted_) {
        counted_ = n;
        emit clientsChanged(n);
    }
}

void LiveHub::closeAll(QWebSocketProtocol::CloseCode code, const QString& reason) {
    for (auto& c : clients_) {
        if (c->gone) continue;
        c->gone = true;
        QObject::disconnect(c->socket.get(), nullptr, this, nullptr);
        c->socket->close(code, reason);
        c->socket->flush();
    }
    removeGone();
}

}  // namespace app::classview
