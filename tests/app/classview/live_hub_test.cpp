// The live messages: the whole record first, then its changes, at a bounded
// rate; a client that does not read is dropped without the others waiting;
// what clients send changes nothing.
#include "app/classview/live_hub.h"
#include "class_view_rig.h"
#include "lab/quantity.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

using namespace classview_rig;
using app::classview::ClassServer;

QList<QJsonObject> changesIn(const QList<QJsonObject>& messages, qsizetype from = 0) {
    QList<QJsonObject> out;
    for (qsizetype i = from; i < messages.size(); ++i)
        for (const QJsonValue& c : messages[i]["record"].toArray()) out.append(c.toObject());
    return out;
}

TEST(LiveHub, SendsTheWholeRecordFirstThenItsChangesAtABoundedRate) {
    ClassServer::Limits limits;
    limits.live.heartbeatMilliseconds = 200;
    Rig rig(limits);
    LiveClient first;
    first.open(rig.port, rig.token());
    ASSERT_TRUE(waitUntil([&] { return !first.messages.isEmpty(); }));

    const QJsonObject hello = first.messages.front();
    EXPECT_NEAR(hello["t"].toDouble(), static_cast<double>(QDateTime::currentMSecsSinceEpoch()), 2000);
    EXPECT_EQ(hello["circuit"], rig.feed.liveJson["circuit"]);
    EXPECT_EQ(hello["readouts"], rig.feed.liveJson["readouts"]);
    EXPECT_EQ(hello["lab"], rig.feed.liveJson["lab"]);
    const QJsonArray record = hello["record"].toArray();
    ASSERT_EQ(record.size(), 1);
    const QJsonObject reset = record[0].toObject();
    EXPECT_EQ(reset["Change"], "Reset");
    EXPECT_EQ(reset["Rows"], rig.feed.rows);
    const QJsonArray columns = reset["Columns"].toArray();
    ASSERT_EQ(columns.size(), static_cast<qsizetype>(lab::kQuantityCount) + 1);
    EXPECT_EQ(columns[2].toObject()["Key"], "CurrentMilliamps");
    EXPECT_EQ(columns[2].toObject()["Unit"], "mA");
    EXPECT_EQ(columns.last().toObject()["Key"], "Run");

    // Blocks every 10 ms for a second: no more than eleven messages, and
    // none missed for long.
    qsizetype before = first.messages.size();
    QElapsedTimer clock;
    clock.start();
    waitUntil([&] {
        rig.feed.block();
        spin(10);
        return clock.elapsed() >= 1000;
    }, 2000);
    const qsizetype inASecond = first.messages.size() - before;
    EXPECT_GE(inASecond, 8);
    EXPECT_LE(inASecond, 13);

    // A new point goes out once as a change; a page that comes after it has
    // it in its whole record and does not get it again.
    const QJsonArray point{1.0, 50.0, 13.0, 1300.0, 100.0, 0.0, 16.9, 1.0, 1};
    before = first.messages.size();
    rig.feed.add(point);
    LiveClient second;
    second.open(rig.port, rig.token());
    ASSERT_TRUE(waitUntil([&] { return !second.messages.isEmpty() && !changesIn(first.messages, before).isEmpty(); }));
    spin(300);
    const QList<QJsonObject> added = changesIn(first.messages, before);
    ASSERT_EQ(added.size(), 1);
    EXPECT_EQ(added[0]["Change"], "Added");
    EXPECT_EQ(added[0]["Row"], 1);
    EXPECT_EQ(added[0]["Values"], point);
    const QList<QJsonObject> secondChanges = changesIn(second.messages);
    ASSERT_EQ(secondChanges.size(), 1);
    EXPECT_EQ(secondChanges[0]["Change"], "Reset");
    EXPECT_EQ(secondChanges[0]["Rows"].toArray().size(), 2);

    before = first.messages.size();
    rig.feed.clear();
    ASSERT_TRUE(waitUntil([&] { return !changesIn(first.messages, before).isEmpty(); }));
    EXPECT_EQ(changesIn(first.messages, before)[0]["Change"], "Cleared");

    // Without blocks a page still hears from the program (so that it can
    // tell a live connection from a dead one).
    before = first.messages.size();
    spin(700);
    EXPECT_GE(first.messages.size() - before, 2);
    EXPECT_EQ(rig.server.clients(), 2);
}

TEST(LiveHub, ServesAHundredDevicesAndTurnsAwayThoseBeyondItsBound) {
    Rig rig;
    std::vector<std::unique_ptr<LiveClient>> devices(100);
    for (auto& d : devices) {
        d = std::make_unique<LiveClient>();
        d->open(rig.port, rig.token());
    }
    int counted = 0;
    QObject::connect(&rig.server, &ClassServer::clientsChanged, [&](int n) { counted = n; });
    EXPECT_TRUE(waitUntil([&] {
        rig.feed.block();
        return std::all_of(devices.begin(), devices.end(), [](const auto& d) { return d->messages.size() >= 2; });
    }, 10000));
    EXPECT_EQ(rig.server.clients(), 100);
    EXPECT_EQ(counted, 100);
    // Pages that go let their connections go with them.
    for (int i = 0; i < 50; ++i) devices[i]->socket->close();
    EXPECT_TRUE(waitUntil([&] { return rig.server.listener()->openConnections() == 50; }))
        << rig.server.listener()->openConnections();
    EXPECT_EQ(rig.server.clients(), 50);
    // Stopped with pages open: they are closed, and the port with them.
    rig.server.stop();
    EXPECT_TRUE(waitUntil([&] {
        return std::all_of(devices.begin(), devices.end(), [](const auto& d) { return d->closed; });
    }));
    EXPECT_FALSE(portOpen(rig.port));

    ClassServer::Limits small;
    small.live.clients = 3;
    Rig few(small);
    std::vector<std::unique_ptr<LiveClient>> four(4);
    for (auto& d : four) {
        d = std::make_unique<LiveClient>();
        d->open(few.port, few.token());
        waitUntil([&] { return !d->messages.isEmpty() || d->closed; });
    }
    EXPECT_EQ(few.server.clients(), 3);
    EXPECT_TRUE(four.back()->closed);
    EXPECT_TRUE(four.back()->messages.isEmpty());
}

TEST(LiveHub, DropsAClientThatDoesNotReadAndKeepsServingTheOthers) {
    ClassServer::Limits limits;
    limits.live.queueBytes = 64 * 1024;
    Rig rig(limits);
    // Messages of 20 kB fill what the system buffers for a stuck phone soon.
    rig.feed.liveJson["readouts"] = QJsonObject{{"Panel3", QString(20000, QLatin1Char('8'))}};
    LiveClient reader;
    reader.open(rig.port, rig.token());

    // A phone that asked for the live messages and then stopped reading.
    const int stuck = ::socket(AF_INET, SOCK_STREAM, 0);
    const int small = 4096;
    ::setsockopt(stuck, SOL_SOCKET, SO_RCVBUF, &small, sizeof small);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(rig.port);
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::connect(stuck, reinterpret_cast<sockaddr*>(&to), sizeof to), 0);
    const QByteArray handshake = request("GET", rig.withToken("/live"), upgradeHeaders());
    ::send(stuck, handshake.constData(), handshake.size(), MSG_NOSIGNAL);
    ASSERT_TRUE(waitUntil([&] { return rig.server.clients() == 2; }));

    const qsizetype before = reader.messages.size();
    QElapsedTimer clock;
    clock.start();
    const bool dropped = waitUntil([&] {
        rig.feed.block();
        spin(20);
        return rig.server.hub()->dropped() == 1;
    }, 10000);
    EXPECT_TRUE(dropped);
    const qint64 took = clock.elapsed();
    EXPECT_EQ(rig.server.clients(), 1);
    EXPECT_FALSE(reader.closed);
    EXPECT_GE(reader.messages.size() - before, took / 1000 * 8) << "messages to the reader in " << took << " ms";
    ::close(stuck);
}

TEST(LiveHub, ActsOnNothingAClientSendsAndDropsOneThatSendsTooMuch) {
    ClassServer::Limits limits;
    limits.live.incomingBytes = 2000;
    Rig rig(limits);
    LiveClient talker, flooder, listener;
    for (LiveClient* c : {&talker, &flooder, &listener}) c->open(rig.port, rig.token());
    ASSERT_TRUE(waitUntil([&] {
        return !talker.messages.isEmpty() && !flooder.messages.isEmpty() && !listener.messages.isEmpty();
    }));

    // Commands in the words of the protocol and of other programs: nothing happens.
    for (const char* text : {"{\"Change\":\"Cleared\"}", "stop", "clear", "{\"k\":\"x\",\"set\":1}"})
        talker.socket->sendTextMessage(QString::fromLatin1(text));
    talker.socket->sendBinaryMessage(QByteArray(100, '\0'));
    const qsizetype before = talker.messages.size();
    EXPECT_TRUE(waitUntil([&] {
        rig.feed.block();
        spin(20);
        return talker.messages.size() >= before + 3;
    }));
    EXPECT_FALSE(talker.closed);
    EXPECT_EQ(rig.feed.rows.size(), 1);
    EXPECT_TRUE(changesIn(talker.messages, before).isEmpty());

    // Many small messages past the bound: dropped; the others go on.
    for (int i = 0; i < 100; ++i) flooder.socket->sendTextMessage(QString(50, QLatin1Char('x')));
    EXPECT_TRUE(waitUntil([&] { return flooder.closed; }));
    const qsizetype heard = listener.messages.size();
    EXPECT_TRUE(waitUntil([&] {
        rig.feed.block();
        spin(20);
        return listener.messages.size() >= heard + 3;
    }));
    EXPECT_EQ(rig.server.clients(), 2);
}

}  // namespace
