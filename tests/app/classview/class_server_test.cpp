// The class view's server at the network boundary, on a feed of fixed JSON:
// what it answers, what it refuses, and the bounds that keep a hostile or
// broken client from holding memory or connections.
#include "app/classview/guarded_listener.h"
#include "app/classview/page.h"
#include "class_view_rig.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace classview_rig;
using app::classview::ClassServer;

// A plain socket to 127.0.0.1:port, non-blocking once connected; -1 when refused.
int rawConnect(quint16 port, int receiveBuffer = 0) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (receiveBuffer > 0) ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Whether the server has closed `fd` (an end of stream or a reset), reading
// and dropping what came before it.
bool closedByServer(int fd) {
    char sink[4096];
    for (;;) {
        const ssize_t n = ::recv(fd, sink, sizeof sink, MSG_DONTWAIT);
        if (n == 0) return true;
        if (n < 0) return errno != EAGAIN && errno != EWOULDBLOCK;
    }
}

TEST(ClassServer, ListensOnlyBetweenStartAndStop) {
    FixedFeed feed;
    app::classview::TokenStore tokens{QString()};
    ClassServer server(feed, tokens);
    const quint16 port = freePort();
    // Off by default: nothing listens, and there is no link.
    EXPECT_FALSE(server.listening());
    EXPECT_TRUE(server.links().isEmpty());
    EXPECT_FALSE(portOpen(port));

    ASSERT_EQ(server.start(QHostAddress(QHostAddress::LocalHost), port), "");
    EXPECT_TRUE(portOpen(port));
    ASSERT_EQ(server.links().size(), 1);
    const QString link = QStringLiteral("http://127.0.0.1:%1/?k=%2").arg(port).arg(QString::fromLatin1(tokens.token()));
    EXPECT_EQ(server.links().front().toString(), link);
    EXPECT_EQ(app::classview::announcement(server.links().front()), QStringLiteral("class-view ") + link);

    // A second server cannot take the port, and says so.
    ClassServer other(feed, tokens);
    EXPECT_EQ(other.start(QHostAddress(QHostAddress::LocalHost), port),
              QStringLiteral("Port %1 už používá jiný program.").arg(port));
    EXPECT_FALSE(other.listening());

    server.stop();
    EXPECT_FALSE(server.listening());
    EXPECT_TRUE(server.links().isEmpty());
    EXPECT_FALSE(portOpen(port));
}

TEST(ClassServer, AnswersTheFourResourcesToTheTokenAndRefusesEverythingElse) {
    Rig rig;
    const QByteArray token = rig.token();
    struct Case {
        QByteArray method, target, extra;
        int status;
    };
    const QByteArray upgrade = upgradeHeaders();
    const std::vector<Case> cases = {
        {"GET", rig.withToken("/state.json"), {}, 200},
        {"GET", rig.withToken("/live"), {}, 426},  // a WebSocket only
        // No token, a wrong one, the token in another case, cut, lengthened,
        // under another name, twice.
        {"GET", "/", {}, 403},
        {"GET", "/?k=", {}, 403},
        {"GET", "/?k=AAAAAAAAAAAAAAAAAAAAAA", {}, 403},
        {"GET", "/?k=" + token.toUpper(), {}, 403},
        {"GET", "/?k=" + token.toLower(), {}, 403},
        {"GET", "/?k=" + token.chopped(1), {}, 403},
        {"GET", "/?k=" + token + "A", {}, 403},
        {"GET", "/?K=" + token, {}, 403},
        {"GET", "/?k=" + token + "&k=" + token, {}, 403},
        {"GET", "/state.json", {}, 403},
        {"GET", "/record.csv?dialect=comma", {}, 403},
        {"GET", "/live", upgrade, 403},
        {"GET", "/live?k=" + token.toUpper(), upgrade, 403},
        // Other methods, with the right token.
        {"POST", rig.withToken("/"), "Content-Length: 0\r\n", 405},
        {"PUT", rig.withToken("/state.json"), "Content-Length: 0\r\n", 405},
        {"DELETE", rig.withToken("/record.csv"), {}, 405},
        {"PATCH", rig.withToken("/"), {}, 405},
        {"OPTIONS", rig.withToken("/"), {}, 405},
        // Nothing but the four resources: no files, no folders, no way out.
        {"GET", rig.withToken("/../"), {}, 404},
        {"GET", rig.withToken("/%2e%2e%2f"), {}, 404},
        {"GET", rig.withToken("/..%2f..%2fetc%2fpasswd"), {}, 404},
        {"GET", rig.withToken("/state.json/../record.csv"), {}, 404},
        {"GET", rig.withToken("//"), {}, 404},
        {"GET", rig.withToken("/index.html"), {}, 404},
        {"GET", rig.withToken("/page.js"), {}, 404},
        {"GET", rig.withToken("/classview/page.html"), {}, 404},
        {"GET", rig.withToken("/state.json/"), {}, 404},
        // A WebSocket only where the live messages are.
        {"GET", rig.withToken("/"), upgrade, 400},
        {"GET", rig.withToken("/nothing"), upgrade, 404},
        {"GET", rig.withToken("/record.csv") + "&dialect=tab", {}, 400},
        {"GET", rig.withToken("/record.csv") + "&dialect=comma&dialect=semicolon", {}, 400},
    };
    for (const Case& c : cases) {
        const Answer a = exchange(rig.port, request(c.method, c.target, c.extra));
        EXPECT_EQ(a.status, c.status) << c.method.toStdString() << ' ' << c.target.toStdString() << '\n'
                                      << a.head.toStdString();
        if (c.status == 405) {
            EXPECT_TRUE(a.head.contains("\r\nAllow: GET, HEAD")) << c.method.toStdString();
        }
    }

    const Answer page = exchange(rig.port, request("GET", rig.withToken("/")));
    EXPECT_EQ(page.status, 200);
    EXPECT_EQ(page.body, app::classview::pageBytes());
    EXPECT_TRUE(page.head.contains("\r\nContent-Type: text/html; charset=utf-8"));
    EXPECT_TRUE(page.head.contains("\r\nContent-Security-Policy: default-src 'none';"));
    const Answer head = exchange(rig.port, request("HEAD", rig.withToken("/")));
    EXPECT_EQ(head.status, 200);
    EXPECT_TRUE(head.head.contains("\r\nContent-Length: " + QByteArray::number(app::classview::pageBytes().size())));
    EXPECT_TRUE(head.body.isEmpty());

    const Answer state = exchange(rig.port, request("GET", rig.withToken("/state.json")));
    EXPECT_EQ(QJsonDocument::fromJson(state.body).object(), rig.feed.stateJson);
    EXPECT_EQ(exchange(rig.port, request("GET", rig.withToken("/record.csv") + "&dialect=comma")).body, "csv , .\n");
    const Answer semicolon = exchange(rig.port, request("GET", rig.withToken("/record.csv") + "&dialect=semicolon"));
    EXPECT_EQ(semicolon.body, "csv ; ,\n");
    EXPECT_TRUE(semicolon.head.contains("\r\nContent-Disposition: attachment; filename=\"mereni.csv\""));

    // Bytes that are not HTTP: the connection is closed, unanswered.
    const Answer garbage = exchange(rig.port, QByteArray("\x00\x01\x02garbage\r\n\r\n", 14));
    EXPECT_EQ(garbage.status, 0);
    EXPECT_TRUE(garbage.closed);
    // None of it became a WebSocket, and the server still answers.
    EXPECT_EQ(rig.server.clients(), 0);
    EXPECT_EQ(exchange(rig.port, request("GET", rig.withToken("/state.json"))).status, 200);
}

TEST(ClassServer, CutsLongRequestsAndIdleOrHalfOpenConnections) {
    ClassServer::Limits limits;
    limits.connections.requestMilliseconds = 300;
    Rig rig(limits);

    // A 1 MB URL and 64 kB of headers are cut once the first 16 kB have come.
    const Answer longUrl = exchange(rig.port, request("GET", "/" + QByteArray(1 << 20, 'a')), 3000);
    EXPECT_TRUE(longUrl.closed);
    EXPECT_EQ(longUrl.status, 0);
    QByteArray headers;
    for (int i = 0; i < 1000; ++i) headers += "X-Header-" + QByteArray::number(i) + ": " + QByteArray(50, 'v') + "\r\n";
    const Answer longHeaders = exchange(rig.port, request("GET", rig.withToken("/"), headers), 3000);
    EXPECT_TRUE(longHeaders.closed);
    EXPECT_EQ(longHeaders.status, 0);

    // Fifty clients at once pushing a megabyte each: none of it is kept.
    const long before = residentKilobytes();
    std::vector<int> pushing;
    for (int i = 0; i < 50; ++i) pushing.push_back(rawConnect(rig.port));
    std::vector<qint64> sent(pushing.size(), 0);
    const QByteArray chunk = "GET /" + QByteArray(64 * 1024, 'b');
    waitUntil([&] {
        bool all = true;
        for (std::size_t i = 0; i < pushing.size(); ++i) {
            if (pushing[i] < 0) continue;
            if (closedByServer(pushing[i])) {
                ::close(pushing[i]);
                pushing[i] = -1;
                continue;
            }
            all = false;
            if (sent[i] >= (1 << 20)) continue;
            const ssize_t n = ::send(pushing[i], chunk.constData(), chunk.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
            if (n > 0) sent[i] += n;
        }
        return all;
    }, 5000);
    for (int fd : pushing) EXPECT_EQ(fd, -1) << "a megabyte-long request still open";
    EXPECT_LT(residentKilobytes() - before, 32 * 1024) << "kilobytes held for 50 long requests";

    // Half a request, or an idle connection after an answer: closed once the
    // time for a request has passed, and not before.
    const int half = rawConnect(rig.port);
    const QByteArray start = "GET " + rig.withToken("/state.json") + " HTTP/1.1\r\nHost: x\r\n";
    ::send(half, start.constData(), start.size(), MSG_NOSIGNAL);
    const int idle = rawConnect(rig.port);
    const QByteArray whole = request("GET", rig.withToken("/state.json"));
    ::send(idle, whole.constData(), whole.size(), MSG_NOSIGNAL);
    // And one that sends a byte at a time, never finishing.
    const int slow = rawConnect(rig.port);
    spin(100);
    EXPECT_FALSE(closedByServer(half));
    EXPECT_FALSE(closedByServer(idle));
    QElapsedTimer clock;
    clock.start();
    bool slowClosed = false;
    waitUntil([&] {
        if (!slowClosed) ::send(slow, "X", 1, MSG_NOSIGNAL | MSG_DONTWAIT);
        slowClosed = slowClosed || closedByServer(slow);
        return slowClosed && closedByServer(half) && closedByServer(idle);
    }, 3000);
    EXPECT_TRUE(slowClosed);
    EXPECT_TRUE(closedByServer(half));
    EXPECT_TRUE(closedByServer(idle));
    EXPECT_LT(clock.elapsed(), 2000);
    for (int fd : {half, idle, slow}) ::close(fd);

    EXPECT_EQ(exchange(rig.port, request("GET", rig.withToken("/state.json"))).status, 200);
}

TEST(ClassServer, KeepsServingThroughAThousandConnectionsASecond) {
    ClassServer::Limits limits;
    limits.connections.connections = 100;
    limits.connections.requestMilliseconds = 400;
    Rig rig(limits);
    LiveClient page;
    page.open(rig.port, rig.token());
    ASSERT_TRUE(waitUntil([&] { return !page.messages.isEmpty(); }));

    std::vector<int> open;
    int refused = 0;
    int most = 0;
    QElapsedTimer clock;
    clock.start();
    const QByteArray half = "GET " + rig.withToken("/") + " HTTP/1.1\r\n";
    for (int batch = 0; batch < 25; ++batch) {
        for (int i = 0; i < 40; ++i) {
            const int fd = rawConnect(rig.port);
            if (fd < 0) {
                ++refused;
                continue;
            }
            ::send(fd, half.constData(), half.size(), MSG_NOSIGNAL);
            open.push_back(fd);
        }
        rig.feed.block();
        spin(30);
        most = std::max(most, rig.server.listener()->openConnections());
        for (int& fd : open)
            if (fd >= 0 && closedByServer(fd)) {
                ::close(fd);
                fd = -1;
                ++refused;
            }
        std::erase(open, -1);
    }
    const qint64 burst = clock.elapsed();
    EXPECT_LT(burst, 2500) << "the thousand connections took " << burst << " ms";
    EXPECT_LE(most, 100) << "connections open at once";
    EXPECT_GT(refused, 0);
    // The page kept getting its messages all along.
    const qsizetype during = page.messages.size();
    EXPECT_GE(during, burst / 1000 * 8) << "messages in " << burst << " ms";
    EXPECT_FALSE(page.closed);

    // Once the half requests have timed out, only the page is left, and the
    // server answers a new request.
    EXPECT_TRUE(waitUntil([&] { return rig.server.listener()->openConnections() == 1; }, 3000))
        << rig.server.listener()->openConnections();
    for (int fd : open) ::close(fd);
    EXPECT_EQ(exchange(rig.port, request("GET", rig.withToken("/state.json"))).status, 200);
    EXPECT_EQ(rig.server.clients(), 1);
}

TEST(ClassServer, NewLinkClosesTheOpenPagesAndRefusesTheOldToken) {
    Rig rig;
    LiveClient page;
    page.open(rig.port, rig.token());
    ASSERT_TRUE(waitUntil([&] { return rig.server.clients() == 1; }));
    const QByteArray old = rig.token();
    rig.server.renewToken();
    EXPECT_NE(rig.token(), old);
    EXPECT_TRUE(waitUntil([&] { return page.closed; }));
    EXPECT_EQ(rig.server.clients(), 0);
    EXPECT_EQ(exchange(rig.port, request("GET", "/state.json?k=" + old)).status, 403);
    EXPECT_EQ(exchange(rig.port, request("GET", rig.withToken("/state.json"))).status, 200);
    QFile file(rig.tokens.path());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), rig.token() + '\n');
}

}  // namespace
