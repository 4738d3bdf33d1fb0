#include "platform/idle.h"
#include "platform/win/message_window.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <gtest/gtest.h>
#include <string>

namespace {

TEST(Idle, HandlerRunsAfterEveryBatchOfMessagesAndNeverSpins) {
    std::string log;
    platform::win::MessageWindow window(
        [&](const platform::win::Message& m) { log += static_cast<char>('0' + m.msg); });
    platform::Idle idle;
    idle.setHandler([&](QObject* sender, bool& done) {
        EXPECT_EQ(sender, &idle);
        log += 'I';
        done = false;
    });
    idle.attachToEventLoop();

    QEventLoop loop;
    // Two batches of messages, 50 ms apart; the loop then waits 300 ms with
    // nothing to do.
    window.post(1, 0, 0);
    window.post(2, 0, 0);
    QTimer::singleShot(50, &loop, [&] { window.post(3, 0, 0); });
    QTimer::singleShot(350, &loop, &QEventLoop::quit);
    loop.exec();

    // Each batch is followed by an idle pass; nothing runs in between.
    ASSERT_FALSE(log.empty());
    EXPECT_NE(log.find("12I"), std::string::npos) << log;
    EXPECT_NE(log.find("3I"), std::string::npos) << log;
    EXPECT_EQ(log.back(), 'I');
    // A spinning idle loop would run thousands of passes in 350 ms.
    EXPECT_LT(idle.callCount(), 50) << log;
}

TEST(Idle, RunOnceCallsTheInstalledHandlerAndReportsDone) {
    platform::Idle idle;
    EXPECT_FALSE(idle.installed());
    EXPECT_TRUE(idle.runOnce());
    EXPECT_EQ(idle.callCount(), 0);
    int calls = 0;
    idle.setHandler([&](QObject*, bool& done) {
        ++calls;
        EXPECT_TRUE(done);  // as on entry to any idle handler
        done = calls > 1;
    });
    EXPECT_FALSE(idle.runOnce());
    EXPECT_TRUE(idle.runOnce());
    EXPECT_EQ(idle.callCount(), 2);
}

}  // namespace
