#pragma once
// LiveHub: the pages' WebSockets. Each client gets, about eleven times a
// second while blocks come (Limits::periodMilliseconds) and at least once a
// second when none do, one JSON
// object: `t` (this computer's clock, ms since the epoch), `circuit`,
// `readouts` and `lab` from the feed, and `record`, the record's changes since
// the last message: {"Change": "Added", "Row": r, "Values": [...]},
// {"Change": "Removed", "Row": r} or {"Change": "Cleared"}. A client's first
// message has the whole record instead, as {"Change": "Reset", "Columns":
// [{Key, Symbol, Unit, Name, Decimals}...], "Rows": [...]}.
//
// Every message is built once and queued to every client without waiting.
// A client whose queue passes Limits::queueBytes (beyond its first message)
// does not read: it is dropped, the others do not wait for it. What a client
// sends is never acted on; one that sends more than a little is dropped.
#include <QElapsedTimer>
#include <QJsonArray>
#include <QObject>
#include <QTimer>
#include <QWebSocketProtocol>
#include <memory>
#include <vector>

class QWebSocket;

namespace app::classview {

class Feed;
struct RecordChange;

class LiveHub : public QObject {
    Q_OBJECT
public:
    struct Limits {
        int clients = 120;                 // at once; more are turned away
        qint64 queueBytes = 128 * 1024;    // unsent to one client (about 10 s of messages)
        int periodMilliseconds = 90;       // between messages, at the least (11 a second)
        int heartbeatMilliseconds = 1000;  // between messages, at the most
        qint64 incomingBytes = 16 * 1024;  // what a client may send in all
        int mostChanges = 1000;            // in one message; more send the whole record again
    };

    explicit LiveHub(const Feed& feed, QObject* parent = nullptr) : LiveHub(feed, Limits{}, parent) {}
    LiveHub(const Feed& feed, const Limits& limits, QObject* parent);
    ~LiveHub() override;

    // A client of /live whose token was checked.
    void adopt(std::unique_ptr<QWebSocket> socket);
    int clients() const;
    // Clients dropped so far because they did not read or sent too much.
    qint64 dropped() const { return dropped_; }
    void closeAll(QWebSocketProtocol::CloseCode code, const QString& reason);

signals:
    void clientsChanged(int count);

private:
    struct Client;
    void tick();
    void recordChanged(const RecordChange& change);
    QString message(bool wholeRecord) const;
    void send(Client& client, const QString& text);
    void drop(Client& client);
    void removeGone();

    const Feed& feed_;
    Limits limits_;
    QTimer ticker_;
    QElapsedTimer clock_;
    qint64 lastSent_ = 0;
    bool newBlock_ = false;
    QJsonArray changes_;
    std::vector<std::unique_ptr<Client>> clients_;
    int counted_ = 0;  // clients last told by clientsChanged
    qint64 dropped_ = 0;
};

}  // namespace app::classview
