#include "app/classview/http_front.h"

#include "app/classview/feed.h"
#include "app/classview/guarded_listener.h"
#include "app/classview/page.h"
#include "app/classview/token.h"
#include "lab/csv_dialect.h"

#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QJsonDocument>
#include <QLocale>
#include <QUrlQuery>
#include <optional>

namespace app::classview {
namespace {

using Status = QHttpServerResponder::StatusCode;
using Headers = std::initializer_list<std::pair<QByteArray, QByteArray>>;

enum class Resource { Page, Live, Record, State };

struct Route {
    const char* path;
    Resource resource;
};

constexpr Route kRoutes[] = {
    {"/", Resource::Page},
    {"/live", Resource::Live},
    {"/record.csv", Resource::Record},
    {"/state.json", Resource::State},
};

std::optional<Resource> resourceAt(const QString& path) {
    for (const Route& r : kRoutes)
        if (path == QLatin1String(r.path)) return r.resource;
    return std::nullopt;
}

// Only our own script and styles run; the page talks to this server alone.
constexpr char kPagePolicy[] =
    "default-src 'none'; script-src 'unsafe-inline'; style-src 'unsafe-inline'; img-src data:; "
    "connect-src 'self' ws: wss:; base-uri 'none'; form-action 'none'; frame-ancestors 'none'";

void reply(QHttpServerResponder& responder, bool head, Status status, const QByteArray& type,
           const QByteArray& body, Headers extra = {}) {
    responder.writeStatusLine(status);
    responder.writeHeader("Content-Type", type);
    responder.writeHeader("Content-Length", QByteArray::number(body.size()));
    responder.writeHeader("Cache-Control", "no-store");
    responder.writeHeader("X-Content-Type-Options", "nosniff");
    responder.writeHeader("Referrer-Policy", "no-referrer");
    for (const auto& [key, value] : extra) responder.writeHeader(key, value);
    responder.writeBody(head ? QByteArray() : body);
}

void refuse(QHttpServerResponder& responder, bool head, Status status, const char* text, Headers extra = {}) {
    reply(responder, head, status, "text/plain; charset=utf-8", QByteArray(text) + '\n', extra);
}

// One value of a query item, or nothing when it is missing or given twice.
std::optional<QString> single(const QUrlQuery& query, const QString& key) {
    const QStringList values = query.allQueryItemValues(key, QUrl::FullyDecoded);
    if (values.size() != 1) return std::nullopt;
    return values.front();
}

}  // namespace

HttpFront::HttpFront(const Feed& feed, QByteArray token, QObject* parent)
    : QAbstractHttpServer(parent), feed_(feed), token_(std::move(token)) {}

void HttpFront::serveOn(GuardedListener* listener) {
    listener_ = listener;
    bind(listener);
}

bool HttpFront::handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) {
    QHttpServerResponder responder = makeResponder(request, socket);
    // Qt's server hands a request that asks for a WebSocket to its WebSocket
    // server once this returns true; false refuses it (and closes the
    // connection after the answer written here).
    const bool upgrade = request.value("upgrade").compare("websocket", Qt::CaseInsensitive) == 0;
    const QHttpServerRequest::Method method = request.method();
    const bool head = method == QHttpServerRequest::Method::Head;
    if (method != QHttpServerRequest::Method::Get && !head) {
        refuse(responder, false, Status::MethodNotAllowed, "Jen GET a HEAD.", {{"Allow", "GET, HEAD"}});
        return !upgrade;
    }
    const std::optional<Resource> resource = resourceAt(request.url().path(QUrl::FullyEncoded));
    if (!resource) {
        refuse(responder, head, Status::NotFound, "Nenalezeno.");
        return !upgrade;
    }
    const QUrlQuery query = request.query();
    const std::optional<QString> key = single(query, QStringLiteral("k"));
    if (!key || !sameToken(key->toUtf8(), token_)) {
        refuse(responder, head, Status::Forbidden, "Neplatný odkaz.");
        return !upgrade;
    }
    if (*resource == Resource::Live) {
        if (upgrade && !head) {
            if (listener_ != nullptr) listener_->upgraded(socket);
            return true;
        }
        refuse(responder, head, Status::UpgradeRequired, "Tady je WebSocket.", {{"Upgrade", "websocket"}});
        return true;
    }
    if (upgrade) {
        refuse(responder, head, Status::BadRequest, "Tady není WebSocket.");
        return false;
    }
    switch (*resource) {
        case Resource::Page:
            reply(responder, head, Status::Ok, "text/html; charset=utf-8", pageBytes(),
                  {{"Content-Security-Policy", kPagePolicy}, {"X-Frame-Options", "DENY"}});
            break;
        case Resource::State:
            reply(responder, head, Status::Ok, "application/json",
                  QJsonDocument(feed_.state()).toJson(QJsonDocument::Compact));
            break;
        case Resource::Record: {
            ::lab::CsvDialect dialect = ::lab::dialectFor(QLocale());
            if (query.hasQueryItem(QStringLiteral("dialect"))) {
                const std::optional<QString> name = single(query, QStringLiteral("dialect"));
                if (name == QLatin1String("comma"))
                    dialect = ::lab::kCommaDecimalPoint;
                else if (name == QLatin1String("semicolon"))
                    dialect = ::lab::kSemicolonDecimalComma;
                else {
                    refuse(responder, head, Status::BadRequest, "dialect=comma nebo dialect=semicolon.");
                    break;
                }
            }
            reply(responder, head, Status::Ok, "text/csv; charset=utf-8", feed_.recordCsv(dialect),
                  {{"Content-Disposition", "attachment; filename=\"mereni.csv\"; "
                                           "filename*=UTF-8''m%C4%9B%C5%99en%C3%AD.csv"}});
            break;
        }
        case Resource::Live: break;
    }
    return true;
}

void HttpFront::missingHandler(const QHttpServerRequest&, QTcpSocket*) {
    // Reached only for a refused WebSocket request, whose answer is written.
}

}  // namespace app::classview
