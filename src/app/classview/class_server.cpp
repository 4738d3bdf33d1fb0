#include "app/classview/class_server.h"

#include "app/classview/http_front.h"
#include "app/classview/listen_choice.h"
#include "app/classview/token.h"
#include "app/classview/token_store.h"

#include <QUrlQuery>
#include <QWebSocket>

namespace app::classview {

ClassServer::ClassServer(const Feed& feed, TokenStore& tokens, const Limits& limits, QObject* parent)
    : QObject(parent), feed_(feed), tokens_(tokens), limits_(limits) {}

ClassServer::~ClassServer() { stop(); }

QString ClassServer::start(const QHostAddress& address, quint16 port) {
    stop();
    auto listener = std::make_unique<GuardedListener>(limits_.connections, nullptr);
    if (!listener->listen(address, port)) {
        if (listener->serverError() == QAbstractSocket::AddressInUseError)
            return QStringLiteral("Port %1 už používá jiný program.").arg(port);
        return QStringLiteral("Na adrese %1 nelze naslouchat: %2").arg(address.toString(), listener->errorString());
    }
    address_ = address;
    port_ = listener->serverPort();
    hub_ = std::make_unique<LiveHub>(feed_, limits_.live, nullptr);
    connect(hub_.get(), &LiveHub::clientsChanged, this, &ClassServer::clientsChanged);
    front_ = std::make_unique<HttpFront>(feed_, tokens_.token());
    connect(front_.get(), &HttpFront::newWebSocketConnection, this, &ClassServer::takeWebSockets);
    listener_ = listener.release();
    front_->serveOn(listener_);  // the front owns it from here
    emit listeningChanged(true);
    emit linksChanged();
    return {};
}

void ClassServer::stop() {
    if (!front_) return;
    hub_->closeAll(QWebSocketProtocol::CloseCodeGoingAway, QStringLiteral("Učitel sdílení ukončil."));
    // The pages' sockets first, then the server and the connections under them.
    hub_.reset();
    front_.reset();
    listener_ = nullptr;
    port_ = 0;
    emit clientsChanged(0);
    emit listeningChanged(false);
    emit linksChanged();
}

void ClassServer::takeWebSockets() {
    while (front_->hasPendingWebSocketConnections()) {
        std::unique_ptr<QWebSocket> socket = front_->nextPendingWebSocketConnection();
        // The front let only /live with the token become a WebSocket; checked
        // once more where the socket is taken.
        const QUrl url = socket->requestUrl();
        const QStringList keys = QUrlQuery(url).allQueryItemValues(QStringLiteral("k"), QUrl::FullyDecoded);
        if (url.path() != QLatin1String("/live") || keys.size() != 1 ||
            !sameToken(keys.front().toUtf8(), tokens_.token())) {
            socket->abort();
            continue;
        }
        hub_->adopt(std::move(socket));
    }
}

QList<QUrl> ClassServer::links() const {
    QList<QUrl> out;
    if (!listening()) return out;
    for (const QHostAddress& a : reachableAt(address_)) {
        QUrl url;
        url.setScheme(QStringLiteral("http"));
        url.setHost(a.toString());
        url.setPort(port_);
        url.setPath(QStringLiteral("/"));
        url.setQuery(QStringLiteral("k=") + QString::fromLatin1(tokens_.token()));
        out.append(url);
    }
    return out;
}

int ClassServer::clients() const { return hub_ ? hub_->clients() : 0; }

void ClassServer::renewToken() {
    tokens_.renew();
    if (front_) {
        front_->setToken(tokens_.token());
        hub_->closeAll(QWebSocketProtocol::CloseCodePolicyViolated, QStringLiteral("Odkaz už neplatí."));
    }
    emit linksChanged();
}

QString announcement(const QUrl& link) { return QStringLiteral("class-view ") + link.toString(QUrl::FullyEncoded); }

}  // namespace app::classview
