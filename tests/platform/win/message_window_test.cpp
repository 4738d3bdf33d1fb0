#include "platform/win/message_window.h"

#include <QCoreApplication>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace {

using platform::win::Message;
using platform::win::MessageWindow;

TEST(MessageWindow, DeliversPostedMessagesInOrderOnTheUiThreadFromAnyThread) {
    std::vector<Message> received;
    std::vector<std::thread::id> threads;
    MessageWindow window([&](const Message& m) {
        received.push_back(m);
        threads.push_back(std::this_thread::get_id());
    });
    window.post(1, 10, -10);
    std::thread poster([&] {
        for (platform::win::UINT i = 2; i <= 1000; ++i)
            EXPECT_TRUE(platform::win::postMessage(window.handle(), i, i, 0));
    });
    poster.join();
    EXPECT_TRUE(received.empty()) << "posting must not deliver at once";
    QCoreApplication::sendPostedEvents();
    ASSERT_EQ(received.size(), 1000u);
    EXPECT_EQ(received[0].wParam, 10u);
    EXPECT_EQ(received[0].lParam, -10);
    for (platform::win::UINT i = 0; i < 1000; ++i) {
        EXPECT_EQ(received[i].msg, i + 1);
        EXPECT_EQ(threads[i], std::this_thread::get_id());
    }
}

TEST(MessageWindow, MessagesForADestroyedWindowAreDropped) {
    int delivered = 0;
    platform::win::HWND handle = 0;
    {
        MessageWindow window([&](const Message&) { ++delivered; });
        handle = window.handle();
        window.post(7, 0, 0);  // still queued when the window goes
    }
    EXPECT_FALSE(platform::win::postMessage(handle, 8, 0, 0));
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(delivered, 0);

    MessageWindow a, b;
    EXPECT_NE(a.handle(), b.handle());
    EXPECT_NE(a.handle(), 0u);
    EXPECT_FALSE(platform::win::postMessage(0, 1, 0, 0));
}

}  // namespace
