#pragma once
// ClassServer: the class view while the teacher has it on. Listens on one
// address and port only between start() and stop(); serves the page, the
// live messages, the record and the state from a Feed to whoever has the
// token's link. Runs on the UI thread without ever waiting on the network.
#include "app/classview/guarded_listener.h"
#include "app/classview/live_hub.h"

#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QUrl>
#include <memory>

namespace app::classview {

class Feed;
class HttpFront;
class TokenStore;

class ClassServer : public QObject {
    Q_OBJECT
public:
    struct Limits {
        GuardedListener::Limits connections;
        LiveHub::Limits live;
    };

    ClassServer(const Feed& feed, TokenStore& tokens, QObject* parent = nullptr)
        : ClassServer(feed, tokens, Limits{}, parent) {}
    ClassServer(const Feed& feed, TokenStore& tokens, const Limits& limits, QObject* parent);
    ~ClassServer() override;

    // Listens on address:port (port 0: one the system picks). Returns "" or
    // why it cannot, in Czech.
    QString start(const QHostAddress& address, quint16 port);
    // Closes the port and every connection.
    void stop();
    bool listening() const { return front_ != nullptr; }
    QHostAddress address() const { return address_; }
    quint16 port() const { return port_; }
    // http://ADDRESS:PORT/?k=TOKEN for every address it is reached at; none
    // when it does not listen.
    QList<QUrl> links() const;
    // Devices following the live values now.
    int clients() const;
    // A new token: the old links stop working, and their pages are closed.
    void renewToken();

    const TokenStore& tokens() const { return tokens_; }
    LiveHub* hub() const { return hub_.get(); }
    GuardedListener* listener() const { return listener_; }

signals:
    void clientsChanged(int count);
    void listeningChanged(bool listening);
    void linksChanged();

private:
    void takeWebSockets();

    const Feed& feed_;
    TokenStore& tokens_;
    Limits limits_;
    std::unique_ptr<LiveHub> hub_;
    std::unique_ptr<HttpFront> front_;
    GuardedListener* listener_ = nullptr;  // the front's
    QHostAddress address_;
    quint16 port_ = 0;
};

// "class-view http://ADDRESS:PORT/?k=TOKEN", the line scripts wait for.
QString announcement(const QUrl& link);

}  // namespace app::classview
